// Every configured connection, keyed by Id (letter case aside) and kept in insertion order.
// Owned by the application object; it shares the connections and borrows the configuration.
#pragma once

#include "catalog/CConexion.h"

#include <QHash>
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

    // The changes below are made to the file as it is at that moment, under its lock: what other
    // processes wrote first is read in (as Recargar does) and kept, and the collection is then
    // what the file holds. A change the file no longer allows (its connection was deleted
    // elsewhere) raises CError naming it; a failed save raises CError and the file is as it was.

    // Removes the connection's element from the file (saving it), then from the collection;
    // a holder of a shared reference keeps using the object until it lets go.
    void Eliminar(const QString& strId);
    // Gives the connection a new title and connection string, in the file first and then in
    // memory; an open link is closed first, as the string of an open connection cannot change.
    void ModificarConexion(const QString& strId, const QString& strTitulo,
                           const QString& strCadenaDeConexion);
    // A new, unopened connection with the first free Id from "cnx" + (Count + 1) upwards, both
    // counted in the file as it now is, appended here and to the file.
    CConexion& NuevaConexion(const QString& strTitulo, const QString& strCadenaDeConexion);

    // Makes the collection what the file now holds, when another process changed it: the
    // objects of connections whose Id, title and string are unchanged stay (open links and
    // all), changed ones are new objects, removed ones go (a holder of a shared reference keeps
    // its object). True when anything changed; CError when the file can no longer be read, and
    // then the collection is as it was. Nothing without a configuration.
    bool Recargar();

private:
    Lista::const_iterator Posicion(const QString& strKey) const;
    // Under the lock: reads the file again and follows it; true when it had changed.
    bool Seguir();
    void Sincronizar(std::vector<std::unique_ptr<CConexion>> nuevas);
    void Indexar();
    // The Id, and the title where there is one, for messages.
    QString Nombrar(const QString& strId) const;

    Lista m_Coleccion;
    // Folded Id -> connection, so that a look-up does not walk the list (start-up checks every
    // connection of the file).
    QHash<QString, CConexion*> m_Indice;
    CConfiguracion* m_Configuracion = nullptr;
};
