# Throwaway PostgreSQL and MariaDB servers for the tests: data under the build folder,
# loopback only, free ports chosen now. Sourced by scripts/test.
# shellcheck shell=bash

puerto_libre() {
  local p
  while :; do
    p=$((20000 + RANDOM % 30000))
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { echo "$p"; return; }
  done
}

# A private driver list: Debian's psqlodbc entry turns on a communication log per process in /tmp.
odbc_privado() {
  local carpeta=$1
  mkdir -p "$carpeta"
  sed -e 's/^CommLog=.*/CommLog=0/' -e 's/^Debug=.*/Debug=0/' /etc/odbcinst.ini > "$carpeta/odbcinst.ini"
  : > "$carpeta/odbc.ini"
  export ODBCSYSINI="$carpeta"
  export ODBCINSTINI=odbcinst.ini
}

PG_DIR=""
arrancar_postgres() {
  local base=$1
  local bin=/usr/lib/postgresql/15/bin
  [ -x "$bin/initdb" ] || { echo "PostgreSQL no está instalado" >&2; return 1; }
  PG_DIR="$base/pg"
  rm -rf "$PG_DIR"
  mkdir -p "$PG_DIR"
  chown postgres:postgres "$PG_DIR"
  chmod 700 "$PG_DIR"
  local puerto
  puerto=$(puerto_libre)
  runuser -u postgres -- "$bin/initdb" -D "$PG_DIR/data" -U verondal --auth=trust -E UTF8 --locale=C.UTF-8 >/dev/null
  runuser -u postgres -- "$bin/pg_ctl" -D "$PG_DIR/data" -w -t 60 \
    -o "-p $puerto -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off -c synchronous_commit=off" \
    -l "$PG_DIR/log" start >/dev/null
  export VERONDAL_PG_PUERTO=$puerto VERONDAL_PG_USUARIO=verondal
  echo "PostgreSQL en 127.0.0.1:$puerto"
}

parar_postgres() {
  [ -n "$PG_DIR" ] && [ -d "$PG_DIR/data" ] &&
    runuser -u postgres -- /usr/lib/postgresql/15/bin/pg_ctl -D "$PG_DIR/data" stop -m fast >/dev/null 2>&1
  PG_DIR=""
}

MDB_DIR=""
arrancar_mariadb() {
  local base=$1
  command -v mariadbd >/dev/null || [ -x /usr/sbin/mariadbd ] || { echo "MariaDB no está instalado" >&2; return 1; }
  MDB_DIR="$base/mariadb"
  rm -rf "$MDB_DIR"
  mkdir -p "$MDB_DIR/data"
  chown -R mysql:mysql "$MDB_DIR"
  local puerto
  puerto=$(puerto_libre)
  cat > "$MDB_DIR/my.cnf" <<CNF
[mariadbd]
datadir=$MDB_DIR/data
port=$puerto
bind-address=127.0.0.1
socket=$MDB_DIR/mysqld.sock
pid-file=$MDB_DIR/mysqld.pid
log-error=$MDB_DIR/error.log
user=mysql
skip-name-resolve
innodb_flush_log_at_trx_commit=0
innodb_doublewrite=0
CNF
  mariadb-install-db --user=mysql --datadir="$MDB_DIR/data" --auth-root-authentication-method=normal >/dev/null 2>&1
  /usr/sbin/mariadbd --defaults-file="$MDB_DIR/my.cnf" >/dev/null 2>&1 &
  local i
  for i in $(seq 1 60); do
    mariadb-admin --socket="$MDB_DIR/mysqld.sock" ping >/dev/null 2>&1 && break
    sleep 0.5
  done
  # root over TCP without a password, for the tests' own client and the driver alike.
  mariadb --socket="$MDB_DIR/mysqld.sock" -u root -e \
    "CREATE USER IF NOT EXISTS 'root'@'127.0.0.1' IDENTIFIED BY ''; GRANT ALL ON *.* TO 'root'@'127.0.0.1' WITH GRANT OPTION; FLUSH PRIVILEGES;" >/dev/null
  export VERONDAL_MARIADB_PUERTO=$puerto VERONDAL_MARIADB_USUARIO=root
  echo "MariaDB en 127.0.0.1:$puerto"
}

parar_mariadb() {
  [ -n "$MDB_DIR" ] && mariadb-admin --socket="$MDB_DIR/mysqld.sock" -u root shutdown >/dev/null 2>&1
  MDB_DIR=""
}
