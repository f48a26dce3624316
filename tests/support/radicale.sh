# Sourced by the sync test scripts, after they set $tmp and $src: a Radicale
# of their own on a free loopback port, with the user "ana" (password
# "segredo"), and the other device (python3-caldav) as `peer`.
command -v radicale >/dev/null || skip_test "radicale não instalado"
/usr/bin/python3 -c "import caldav" 2>/dev/null || skip_test "python3-caldav não instalado"
mkdir -p "$tmp/radicale"
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
url=http://127.0.0.1:$port/
printf 'ana:segredo\n' >"$tmp/radicale/users"
cat >"$tmp/radicale/config" <<CONF
[server]
hosts = 127.0.0.1:$port
[auth]
type = htpasswd
htpasswd_filename = $tmp/radicale/users
htpasswd_encryption = plain
[storage]
filesystem_folder = $tmp/radicale/collections
[logging]
level = warning
CONF
server=
start_server() {
  radicale --config "$tmp/radicale/config" >>"$tmp/radicale/log" 2>&1 &
  server=$!
  for _ in $(seq 100); do
    curl -s -o /dev/null "$url" && return 0
    sleep 0.1
  done
  echo "o servidor não respondeu"; cat "$tmp/radicale/log"; exit 1
}
stop_server() { kill "$server"; wait "$server" 2>/dev/null; server=; }
peer() { /usr/bin/python3 "$src/tests/support/caldav_peer.py" "$url" ana segredo "$@"; }
