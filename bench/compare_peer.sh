#!/usr/bin/env bash
# Times whole processes side by side with a peer password manager's command-line tool, on the
# same number of web accounts: opening the file and listing every entry, and adding one entry
# and saving. Both sides use their cheapest key derivation, so that file handling is compared.
# Prints the median of 5 runs per case and our time divided by the peer's.
#   bench/compare_peer.sh [N ...]        default: 100 1000 10000 100000
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(100 1000 10000 100000)

scripts/deps.sh build
need=()
for p in keepassxc hyperfine python3; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null 2>&1
fi

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANTA_TESTS=OFF -DCORVANTA_WERROR=OFF >/dev/null 2>&1
cmake --build build-bench --target corvanta-cli >/dev/null 2>&1
cli=$PWD/build-bench/bench/corvanta-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

median() { # json file -> median seconds of each command, one per line
    python3 -c 'import json,sys; [print(r["median"]) for r in json.load(open(sys.argv[1]))["results"]]' "$1"
}

printf '| records | ours: list | peer: list | ratio | ours: add+save | peer: add+save | ratio |\n'
printf '|--------:|-----------:|-----------:|------:|---------------:|---------------:|------:|\n'
for n in "${sizes[@]}"; do
    "$cli" make "$work/ours$n.cvd" "$n" pw
    # The peer's import format: its XML export, with the same generated accounts.
    python3 - "$n" > "$work/peer$n.xml" <<'PY'
import sys
from xml.sax.saxutils import escape
n = int(sys.argv[1])
types = ["Shop", "Bank", "Mail", "News", "Forum", "Travel"]
print('<?xml version="1.0" encoding="utf-8"?><KeePassFile><Root><Group><Name>Root</Name>')
for i in range(n):
    fields = {
        "Title": "Site %06d %s" % (i, types[i % 6]),
        "UserName": "user%d" % (i * 7919 % 100000),
        "Password": "pw-%d-Xq9!z%d" % (i * 104729 % 1000003, i % 97),
        "URL": "https://www.site%d.example.org/login" % i,
        "Notes": "Account opened in %d; security question answered with the usual answer; renew card %d."
                 % (1990 + i % 35, i % 12 + 1),
    }
    print("<Entry>" + "".join("<String><Key>%s</Key><Value>%s</Value></String>" % (k, escape(v))
                              for k, v in fields.items()) + "</Entry>")
print("</Group></Root></KeePassFile>")
PY
    printf 'pw\npw\n' | keepassxc-cli import -p -t 100 "$work/peer$n.xml" "$work/peer$n.kdbx" >/dev/null 2>&1
    hyperfine -N --runs 5 --warmup 1 --export-json "$work/ls$n.json" \
        "$cli ls $work/ours$n.cvd pw" \
        "bash -c 'printf pw | keepassxc-cli ls -q $work/peer$n.kdbx'" >/dev/null 2>&1
    hyperfine --shell=bash --runs 5 --export-json "$work/add$n.json" \
        "$cli add $work/ours$n.cvd pw New\$RANDOM\$RANDOM" \
        "printf pw | keepassxc-cli add -q -u someone $work/peer$n.kdbx New\$RANDOM\$RANDOM" >/dev/null 2>&1
    mapfile -t ls < <(median "$work/ls$n.json")
    mapfile -t add < <(median "$work/add$n.json")
    python3 -c 'import sys; n,a,b,c,d=sys.argv[1:]; a,b,c,d=map(float,(a,b,c,d)); print("| %7s | %8.1f ms | %8.1f ms | %5.2f | %12.1f ms | %12.1f ms | %5.2f |" % (n,a*1e3,b*1e3,a/b,c*1e3,d*1e3,c/d))' \
        "$n" "${ls[0]}" "${ls[1]}" "${add[0]}" "${add[1]}"
done
