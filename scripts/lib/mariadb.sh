# Shell functions scripts/db and scripts/cluster share: ports, the account the
# shop and the tests use, waiting for a server. Sourced, never run.

db_name="tandorshop"
db_user="tandorshop"
db_password="tandorshop-dev"

server_bin="$(command -v mariadbd || echo /usr/sbin/mariadbd)"

# A TCP port nobody listens on at the moment.
free_port() {
  python3 - <<'PY'
import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])
s.close()
PY
}

# The server behind this socket answers (as root, by socket authentication).
socket_answers() {
  mariadb-admin --no-defaults --protocol=socket --socket="$1" -uroot ping >/dev/null 2>&1
}

# The process named in this pid file runs and its server answers on this socket.
pid_alive() {
  local pidfile="$1" sock="$2" pid
  [[ -f "$pidfile" ]] || return 1
  pid="$(cat "$pidfile" 2>/dev/null || true)"
  [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null || return 1
  socket_answers "$sock"
}

# Stops the server of this pid file: politely, then after ten seconds with kill -9.
stop_pid() {
  local pidfile="$1" pid
  [[ -f "$pidfile" ]] || return 0
  pid="$(cat "$pidfile" 2>/dev/null || true)"
  if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$pidfile"
}

# A fresh system schema in this data folder (first start only), for the server
# running as this user (default: the caller).
install_datadir() {
  local data="$1" tmp="$2" log="$3" user="${4:-$(id -un)}"
  [[ -d "$data/mysql" ]] && return 0
  rm -rf "$data"
  mariadb-install-db --no-defaults --datadir="$data" --user="$user" --tmpdir="$tmp" \
    --auth-root-authentication-method=socket --skip-test-db >"$log" 2>&1 ||
    { cat "$log" >&2; exit 1; }
}

# The shop's database and account, on the server behind this socket.
create_account() {
  mariadb --no-defaults --protocol=socket --socket="$1" -uroot <<SQL
CREATE DATABASE IF NOT EXISTS \`$db_name\` CHARACTER SET utf8mb4;
CREATE USER IF NOT EXISTS '$db_user'@'127.0.0.1' IDENTIFIED BY '$db_password';
CREATE USER IF NOT EXISTS '$db_user'@'localhost' IDENTIFIED BY '$db_password';
GRANT ALL PRIVILEGES ON *.* TO '$db_user'@'127.0.0.1';
GRANT ALL PRIVILEGES ON *.* TO '$db_user'@'localhost';
FLUSH PRIVILEGES;
SQL
}
