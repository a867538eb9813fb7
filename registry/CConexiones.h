// Every configured connection, keyed by Id (letter case aside) and kept in insertion order.
// Owned by the application object; it shares the connections and borrows the configuration.
#pragma once

#include "catalog/CConexion.h"

#include <QString>
#include <memory>
#include <vector>

class CConfiguracion;

class CConexiones {
    using Lista = std::vector<std::shared_ptr<CConexion>>;

public:
    // Walks the connections in insertion order, yielding CConexion&.
    class Iterador {
    public:
        explicit Iterador(Lista::const_iterator it) : m_It(it) {}
        CConexion& operator*() const { return **m_It; }
        CConexion* operator->() const { return m_It->get(); }
        Iterador& operator++() {
            ++m_It;
            return *this;
        }
        bool operator==(const Iterador& otro) const = default;

    private:
        Lista::const_iterator m_It;
    };

    CConexiones() = default;
    CConexiones(const CConexiones&) = delete;
    CConexiones& operator=(const CConexiones&) = delete;

    // Where additions and deletions are written back; not owned. Without one, memory only.
    void setConfiguracion(CConfiguracion* objConfiguracion) { m_Configuracion = objConfiguracion; }

    // The connection with that Id; raises CError (number 5) when there is none.
    CConexion& Item(const QString& strKey) const;
    // The same, or nullptr when there is none.
    CConexion* Buscar(const QString& strKey) const;
    // The same as Item, as a reference of its own for holders that must outlive a removal
    // (a running comparison): the object, and its link, go when the last reference does.
    std::shared_ptr<CConexion> Compartida(const QString& strKey) const;
    int Count() const { return static_cast<int>(m_Coleccion.size()); }
    Iterador begin() const { return Iterador(m_Coleccion.cbegin()); }
    Iterador end() const { return Iterador(m_Coleccion.cend()); }

    // Memory only: appends under the connection's Id; a repeated Id raises CError (457).
    CConexion& Agregar(std::unique_ptr<CConexion> objConexion);
    // Removes the connection's element from the file (saving it), then from the collection;
    // a holder of a shared reference keeps using the object until it lets go.
    // A failed save raises CError and leaves both as they were.
    void Eliminar(const QString& strId);
    // Gives the connection a new title and connection string, in the file first (saved
    // atomically) and then in memory; an open link is closed first, as the string of an open
    // connection cannot change. A failed save raises CError and changes nothing else.
    void ModificarConexion(const QString& strId, const QString& strTitulo,
                           const QString& strCadenaDeConexion);
    // A new, unopened connection with the first free Id from "cnx" + (Count + 1) upwards,
    // appended here and to the file. A failed save raises CError and adds nothing.
    CConexion& NuevaConexion(const QString& strTitulo, const QString& strCadenaDeConexion);

private:
    Lista::const_iterator Posicion(const QString& strKey) const;

    Lista m_Coleccion;
    CConfiguracion* m_Configuracion = nullptr;
};
