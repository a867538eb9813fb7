// The server clients' arguments for the servers the benches are given (VERONDAL_PG_PUERTO and
// _USUARIO, VERONDAL_MARIADB_PUERTO and _USUARIO): shared by the benches that build catalogues.
#pragma once

#include <QStringList>

// psql's, up to -d: the database's name follows.
inline QStringList ArgumentosPsql() {
    return {"-X", "-q",
            "-v", "ON_ERROR_STOP=1",
            "-h", "127.0.0.1",
            "-p", qEnvironmentVariable("VERONDAL_PG_PUERTO"),
            "-U", qEnvironmentVariable("VERONDAL_PG_USUARIO"),
            "-d"};
}

inline QStringList ArgumentosMariaDB() {
    return {"--protocol=TCP",
            "-h",
            "127.0.0.1",
            "-P",
            qEnvironmentVariable("VERONDAL_MARIADB_PUERTO"),
            "-u",
            qEnvironmentVariable("VERONDAL_MARIADB_USUARIO")};
}
