// The explorer's dialogues around the connection collection: the data-link dialogue and the
// name's input box, then the collection's own member. Free functions; nothing is owned.
#pragma once

#include <QString>

class CConexiones;

// Asks for a connection string, then for a name ("Introduzca un nombre para ésta conexión" /
// "Nueva conexión"), and adds the connection to the collection and the file. False, changing
// nothing, when either dialogue is cancelled or the file cannot be saved (the user is told).
bool NuevaConexion(CConexiones& objConexiones);
// The same dialogues prefilled with the connection strId's string and title; true when the
// connection was changed in memory and in the file.
bool ModificarConexion(CConexiones& objConexiones, const QString& strId);
