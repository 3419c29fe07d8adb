# Sourced by the test and benchmark scripts: the lookup servers the tests talk to, each on
# a loopback address of its own, port 80; the fault server also on other ports, over TLS
# with the certificates of scripts/test_certs.sh, and on the IPv6 loopback address.
#   LVN_SERVERS  folder for their configuration, pid, log, certificate and temp files
#                (required)

export LVN_NGINX_ADDRESS=127.0.0.1   # the shipped nginx lookup page
export LVN_FAULT_ADDRESS=127.0.0.2   # tests/servers/fault_server.py
export LVN_DEAD_ADDRESS=127.0.0.3    # nothing listens here
export LVN_PHP_ADDRESS=127.0.0.4     # the shipped PHP lookup page, on PHP's own server
export LVN_FAULT_ADDRESS6=::1        # the fault server's plain port 8080 here too
export LVN_FAULT_LOG="$LVN_SERVERS/fault/requests.log"
export LVN_TEST_CERTS="$LVN_SERVERS/tls"

LVN_SERVERS_TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=step.sh
source "$LVN_SERVERS_TOP/scripts/step.sh"

# lvn_port_open ADDRESS [PORT, default 80]
lvn_port_open() {
  (exec 3<>"/dev/tcp/$1/${2:-80}") 2>/dev/null
}

# lvn_wait_port ADDRESS LOG [PORT]: waits for the server whose log is LOG to answer.
lvn_wait_port() {
  local i
  for i in $(seq 1 100); do
    lvn_port_open "$1" "${3:-80}" && return 0
    sleep 0.1
  done
  lvn_fail "starting the lookup server on $1 port ${3:-80}: nothing answers there" "$2"
}

lvn_servers_start() {
  local nginx_dir="$LVN_SERVERS/nginx"
  mkdir -p "$nginx_dir/tmp" "$LVN_SERVERS/fault" "$LVN_SERVERS/php"
  : >"$LVN_FAULT_LOG"
  cat >"$nginx_dir/nginx.conf" <<CONF
worker_processes 1;
pid $nginx_dir/nginx.pid;
error_log $nginx_dir/error.log;
events { worker_connections 64; }
http {
    access_log $nginx_dir/access.log;
    client_body_temp_path $nginx_dir/tmp/body;
    proxy_temp_path $nginx_dir/tmp/proxy;
    fastcgi_temp_path $nginx_dir/tmp/fastcgi;
    uwsgi_temp_path $nginx_dir/tmp/uwsgi;
    scgi_temp_path $nginx_dir/tmp/scgi;
    server {
        listen $LVN_NGINX_ADDRESS:80;
        server_name _;
        include $LVN_SERVERS_TOP/server/nginx/lorvane-lookup.conf;
    }
}
CONF
  lvn_servers_stop
  local address
  local taken="$LVN_SERVERS/ports.log"
  for address in "$LVN_NGINX_ADDRESS" "$LVN_FAULT_ADDRESS" "$LVN_PHP_ADDRESS"; do
    if lvn_port_open "$address"; then
      { echo "$address:80 is taken:"; ss -ltnp "( sport = :80 )" 2>&1; } >"$taken"
      lvn_fail "starting the lookup servers: another server already uses $address:80" "$taken"
      return 1
    fi
  done
  lvn_step "making the TLS servers' certificates in $LVN_TEST_CERTS" "$LVN_SERVERS/certs.log" \
    "$LVN_SERVERS_TOP/scripts/test_certs.sh" "$LVN_TEST_CERTS" || return 1
  lvn_step "starting nginx on $LVN_NGINX_ADDRESS:80" "$nginx_dir/start.log" \
    nginx -p "$nginx_dir" -e "$nginx_dir/error.log" -c "$nginx_dir/nginx.conf" || return 1
  python3 "$LVN_SERVERS_TOP/tests/servers/fault_server.py" "$LVN_FAULT_ADDRESS" "$LVN_FAULT_LOG" \
    "$LVN_TEST_CERTS" "$LVN_FAULT_ADDRESS6" 2>"$LVN_SERVERS/fault/server.log" &
  echo $! >"$LVN_SERVERS/fault/server.pid"
  php -S "$LVN_PHP_ADDRESS:80" -t "$LVN_SERVERS_TOP/server/php" >"$LVN_SERVERS/php/server.log" 2>&1 &
  echo $! >"$LVN_SERVERS/php/server.pid"
  lvn_wait_port "$LVN_NGINX_ADDRESS" "$nginx_dir/error.log" &&
    lvn_wait_port "$LVN_FAULT_ADDRESS" "$LVN_SERVERS/fault/server.log" &&
    lvn_wait_port "$LVN_FAULT_ADDRESS6" "$LVN_SERVERS/fault/server.log" 8080 &&
    lvn_wait_port "$LVN_PHP_ADDRESS" "$LVN_SERVERS/php/server.log"
}

# Runs a command in a private mount namespace whose hosts file makes the names on the TLS
# servers' certificates the fault server: www.ombrix.example, and the public lookup
# services a first start asks, which the tests so reach without the internet.
lvn_with_test_hosts() {
  { grep -v -e 'www\.ombrix\.example' -e 'api\.ipify\.org' -e 'checkip\.amazonaws\.com' /etc/hosts
    echo "$LVN_FAULT_ADDRESS www.ombrix.example api.ipify.org checkip.amazonaws.com"; } \
    >"$LVN_SERVERS/hosts"
  unshare --mount sh -c 'mount --bind "$1" /etc/hosts && shift && exec "$@"' \
    sh "$LVN_SERVERS/hosts" "$@"
}

# Adds the test CA to the Root store of the Wine prefix's user (scripts/wine_env.sh): the
# system's check then takes the TLS servers' certificates as Windows takes a public site's.
# The machine's own trust store is left alone.
lvn_trust_test_ca() {
  local log="$LVN_SERVERS/trust_ca.log"
  lvn_step "trusting the test CA in $WINEPREFIX" "$log" \
    "$WINELOADER" "$LVN_SERVERS_TOP/build/win/bin/trust_ca.exe" "Z:$LVN_TEST_CERTS/ca.pem"
}

# Stops only the servers started from this folder.
lvn_servers_stop() {
  local nginx_dir="$LVN_SERVERS/nginx" pid pid_file
  if [ -f "$nginx_dir/nginx.pid" ]; then
    nginx -p "$nginx_dir" -e "$nginx_dir/error.log" -c "$nginx_dir/nginx.conf" -s quit 2>/dev/null
    for _ in $(seq 1 50); do [ -f "$nginx_dir/nginx.pid" ] || break; sleep 0.1; done
  fi
  for pid_file in "$LVN_SERVERS/fault/server.pid" "$LVN_SERVERS/php/server.pid"; do
    [ -f "$pid_file" ] || continue
    pid=$(cat "$pid_file")
    # A stale file may name some other process by now: only ours is stopped.
    if grep -qaF "$LVN_SERVERS_TOP/" "/proc/$pid/cmdline" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
    rm -f "$pid_file"
  done
}
