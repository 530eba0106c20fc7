# Sourced by the scripts that run the real program: writes its settings
# file for a run that stays on this machine. The core is at CORE_PORT; every
# web engine and the vendor point at a closed loopback port, so nothing is
# asked of another run's simulated web.
#
#   write_offline_settings FILE CORE_PORT
write_offline_settings() {
    local file=$1 port=$2
    mkdir -p "$(dirname "$file")"
    cat >"$file" <<INI
[Software]
Korvana\\CorePort=$port
Korvana\\Engine1Url=http://127.0.0.1:9
Korvana\\Engine2Url=http://127.0.0.1:9
Korvana\\Engine3Url=http://127.0.0.1:9
Korvana\\ArchiveUrl=http://127.0.0.1:9
Korvana\\VendorUrl=http://127.0.0.1:9
INI
}
