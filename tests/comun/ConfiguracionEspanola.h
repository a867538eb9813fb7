// Test helper for any room: Spain's regional settings for as long as the object lives, so
// numbers and dates read as a Spanish user reads them. Each test owns its own.
#pragma once

#include <QLocale>

namespace pruebas {

class CConfiguracionEspanola {
public:
    CConfiguracionEspanola() : m_Anterior(QLocale()) {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    }
    ~CConfiguracionEspanola() { QLocale::setDefault(m_Anterior); }
    CConfiguracionEspanola(const CConfiguracionEspanola&) = delete;
    CConfiguracionEspanola& operator=(const CConfiguracionEspanola&) = delete;

private:
    QLocale m_Anterior;
};

} // namespace pruebas
