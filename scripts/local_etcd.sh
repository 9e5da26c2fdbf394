# A one-member etcd on free loopback ports, for the demo and the tests that run
# the installed tool and example against a cluster. Source it, then
#   start_local_etcd DIR   starts etcd with its data and log in DIR, waits until
#                          it answers, and sets LOCAL_ETCD_ENDPOINT (127.0.0.1:PORT)
#   stop_local_etcd        stops it (safe to call when none was started)
# shellcheck shell=bash

LOCAL_ETCD_PID=""
LOCAL_ETCD_ENDPOINT=""

# A loopback port that no one listens on now.
local_etcd_free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % 40000))
    (: <"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return; }
  done
}

start_local_etcd() {
  local dir=$1 client peer
  client="$(local_etcd_free_port)"
  peer="$(local_etcd_free_port)"
  etcd --name local --data-dir "$dir/etcd" \
    --listen-client-urls "http://127.0.0.1:$client" --advertise-client-urls "http://127.0.0.1:$client" \
    --listen-peer-urls "http://127.0.0.1:$peer" --initial-advertise-peer-urls "http://127.0.0.1:$peer" \
    --initial-cluster "local=http://127.0.0.1:$peer" \
    --experimental-watch-progress-notify-interval 5s >"$dir/etcd.log" 2>&1 &
  LOCAL_ETCD_PID=$!
  LOCAL_ETCD_ENDPOINT="127.0.0.1:$client"
  # The local copies of what is read from it stay beside it.
  export DICOMSETTINGS_CACHE_DIR="${DICOMSETTINGS_CACHE_DIR:-$dir/copies}"
  local _
  for _ in $(seq 100); do
    etcdctl --endpoints="$LOCAL_ETCD_ENDPOINT" endpoint health >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  echo "etcd did not start; its log:" >&2
  cat "$dir/etcd.log" >&2
  return 1
}

stop_local_etcd() {
  [ -z "$LOCAL_ETCD_PID" ] && return 0
  kill "$LOCAL_ETCD_PID" 2>/dev/null || true
  wait "$LOCAL_ETCD_PID" 2>/dev/null || true
  LOCAL_ETCD_PID=""
}
