# Throwaway PostgreSQL and MariaDB servers for the tests: loopback only, free ports chosen now,
# data in a fresh folder outside the checkout. Sourced by scripts/test.
#
# The checkout may sit in a 0700 home directory (Debian's default, and /root), which the
# `postgres` and `mysql` users cannot enter: so the data lives in a `mktemp -d` of its own under
# /tmp, opened to them (755), and goes when the run ends. A server that does not start stops the
# run at once with its own log on standard error; a server is announced only once it answers.
# shellcheck shell=bash

SERVIDORES=""
PG_DIR=""
PG_BIN=/usr/lib/postgresql/15/bin
MDB_DIR=""
MDB_PID=""

# como_root ORDEN...: as root directly, otherwise through sudo.
como_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -- "$@"; fi
}

# como_usuario USUARIO ORDEN...: run as a server's own user.
como_usuario() {
  local usuario=$1
  shift
  # From /, since the current folder may be one that user cannot enter.
  if [ "$(id -u)" -eq 0 ]; then
    (cd / && runuser -u "$usuario" -- "$@")
  else
    (cd / && sudo -u "$usuario" -- "$@")
  fi
}

# fallo_servidor NOMBRE ARCHIVO...: the server's own lines on standard error, then stop the run.
fallo_servidor() {
  local nombre=$1 archivo
  shift
  echo "El servidor $nombre de pruebas no arrancó. Su registro:" >&2
  for archivo in "$@"; do
    como_root test -f "$archivo" || continue
    echo "--- $archivo" >&2
    como_root tail -n 40 "$archivo" >&2
  done
  exit 1
}

# vivo PID: whether the process still exists (kill -0 is refused for a sudo run by another user).
vivo() {
  local estado
  estado=$(sed -n 's/^[0-9]* (.*) \([A-Z]\).*/\1/p' "/proc/$1/stat" 2>/dev/null) || return 1
  [ -n "$estado" ] && [ "$estado" != Z ]
}

puerto_libre() {
  local p
  while :; do
    p=$((20000 + RANDOM % 30000))
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || {
      echo "$p"
      return
    }
  done
}

# crear_servidores: the folder every server, the driver list and the runtime folder live in.
crear_servidores() {
  SERVIDORES=$(mktemp -d /tmp/verondal-servidores.XXXXXX)
  chmod 755 "$SERVIDORES"
}

# borrar_servidores: stop whatever started and remove its data (the trap of scripts/test).
borrar_servidores() {
  parar_postgres
  parar_mariadb
  [ -n "$SERVIDORES" ] && [ -d "$SERVIDORES" ] && como_root rm -rf -- "$SERVIDORES"
  SERVIDORES=""
}

# A private driver list: Debian's psqlodbc entry turns on a communication log per process in /tmp.
odbc_privado() {
  local carpeta=$1
  mkdir -p "$carpeta"
  sed -e 's/^CommLog=.*/CommLog=0/' -e 's/^Debug=.*/Debug=0/' /etc/odbcinst.ini >"$carpeta/odbcinst.ini"
  : >"$carpeta/odbc.ini"
  export ODBCSYSINI="$carpeta"
  export ODBCINSTINI=odbcinst.ini
}

arrancar_postgres() {
  [ -x "$PG_BIN/initdb" ] || {
    echo "PostgreSQL 15 no está instalado ($PG_BIN/initdb no existe)" >&2
    exit 1
  }
  PG_DIR="$SERVIDORES/pg"
  mkdir -p "$PG_DIR"
  como_root chown postgres:postgres "$PG_DIR"
  como_root chmod 700 "$PG_DIR"
  como_usuario postgres test -w "$PG_DIR" || {
    echo "El usuario postgres no puede escribir en $PG_DIR" >&2
    exit 1
  }
  local puerto
  puerto=$(puerto_libre)
  if ! como_usuario postgres "$PG_BIN/initdb" -D "$PG_DIR/data" -U verondal --auth=trust -E UTF8 \
    --locale=C.UTF-8 >"$SERVIDORES/initdb.log" 2>&1; then
    fallo_servidor PostgreSQL "$SERVIDORES/initdb.log"
  fi
  if ! como_usuario postgres "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -w -t 60 \
    -o "-p $puerto -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off -c synchronous_commit=off" \
    -l "$PG_DIR/log" start >"$SERVIDORES/pg_ctl.log" 2>&1; then
    fallo_servidor PostgreSQL "$SERVIDORES/pg_ctl.log" "$PG_DIR/log"
  fi
  "$PG_BIN/pg_isready" -q -h 127.0.0.1 -p "$puerto" -t 30 ||
    fallo_servidor PostgreSQL "$PG_DIR/log"
  # The server's log, where a test reads the statements a database was sent.
  export VERONDAL_PG_PUERTO=$puerto VERONDAL_PG_USUARIO=verondal VERONDAL_PG_REGISTRO="$PG_DIR/log"
  echo "PostgreSQL en 127.0.0.1:$puerto"
}

parar_postgres() {
  if [ -n "$PG_DIR" ] && como_root test -f "$PG_DIR/data/postmaster.pid"; then
    como_usuario postgres "$PG_BIN/pg_ctl" -D "$PG_DIR/data" stop -m fast >/dev/null 2>&1 || true
  fi
  PG_DIR=""
}

arrancar_mariadb() {
  local mariadbd
  mariadbd=$(command -v mariadbd || echo /usr/sbin/mariadbd)
  [ -x "$mariadbd" ] || {
    echo "MariaDB no está instalado (no se encuentra mariadbd)" >&2
    exit 1
  }
  MDB_DIR="$SERVIDORES/mariadb"
  mkdir -p "$MDB_DIR"
  local puerto
  puerto=$(puerto_libre)
  cat >"$MDB_DIR/my.cnf" <<CNF
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
  # Readable by everyone, so that the invoking user reaches the socket whatever its umask.
  chmod 755 "$MDB_DIR"
  chmod 644 "$MDB_DIR/my.cnf"
  como_root chown mysql:mysql "$MDB_DIR"
  if ! como_root mariadb-install-db --user=mysql --datadir="$MDB_DIR/data" \
    --auth-root-authentication-method=normal >"$SERVIDORES/mariadb-install-db.log" 2>&1; then
    fallo_servidor MariaDB "$SERVIDORES/mariadb-install-db.log"
  fi
  # exec, so that the pid kept is the server's own (or that of the sudo that relays to it).
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo --)
  (cd / && exec "${sudo[@]}" "$mariadbd" --defaults-file="$MDB_DIR/my.cnf") \
    >"$SERVIDORES/mariadbd.log" 2>&1 &
  MDB_PID=$!
  local i
  for i in $(seq 1 120); do
    mariadb-admin --socket="$MDB_DIR/mysqld.sock" -u root ping >/dev/null 2>&1 && break
    vivo "$MDB_PID" || fallo_servidor MariaDB "$SERVIDORES/mariadbd.log" "$MDB_DIR/error.log"
    [ "$i" -lt 120 ] || fallo_servidor MariaDB "$SERVIDORES/mariadbd.log" "$MDB_DIR/error.log"
    sleep 0.5
  done
  # root over TCP without a password, for the tests' own client and the driver alike.
  mariadb --socket="$MDB_DIR/mysqld.sock" -u root -e \
    "CREATE USER IF NOT EXISTS 'root'@'127.0.0.1' IDENTIFIED BY ''; GRANT ALL ON *.* TO 'root'@'127.0.0.1' WITH GRANT OPTION; FLUSH PRIVILEGES;" \
    >"$SERVIDORES/mariadb-usuario.log" 2>&1 ||
    fallo_servidor MariaDB "$SERVIDORES/mariadb-usuario.log" "$MDB_DIR/error.log"
  mariadb-admin --protocol=TCP -h 127.0.0.1 -P "$puerto" -u root ping >/dev/null 2>&1 ||
    fallo_servidor MariaDB "$MDB_DIR/error.log"
  export VERONDAL_MARIADB_PUERTO=$puerto VERONDAL_MARIADB_USUARIO=root
  echo "MariaDB en 127.0.0.1:$puerto"
}

parar_mariadb() {
  if [ -n "$MDB_DIR" ] && [ -S "$MDB_DIR/mysqld.sock" ]; then
    mariadb-admin --socket="$MDB_DIR/mysqld.sock" -u root shutdown >/dev/null 2>&1 || true
  fi
  if [ -n "$MDB_PID" ]; then
    # A server that never answered is still stopped before its folder goes.
    vivo "$MDB_PID" && como_root kill "$MDB_PID" 2>/dev/null
    wait "$MDB_PID" 2>/dev/null || true
  fi
  MDB_DIR=""
  MDB_PID=""
}
