#!/usr/bin/env bash
# Prints the Debian mirror this machine's apt sources name for bookworm: the
# first "deb" source of bookworm in one-line lists, then in deb822 .sources
# files; http://deb.debian.org/debian when none does. Used by the scripts
# that make a fresh Debian 12 root (package-test.sh, fresh-root-test.sh).
set -euo pipefail
mirror=""
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$list" ] || continue
  mirror=$(awk '$1 == "deb" { i = 2; if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                if ($(i + 1) == "bookworm") { print $i; exit } }' "$list")
  [ -n "$mirror" ] && break
done
if [ -z "$mirror" ]; then
  for sources in /etc/apt/sources.list.d/*.sources; do
    [ -f "$sources" ] || continue
    mirror=$(awk 'function flush() { if (deb && suite && uri != "" && !done) { print uri; done = 1 }
                                     deb = 0; suite = 0; uri = "" }
                  /^[ \t]*$/ { flush(); next }
                  /^Types:/ { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1 }
                  /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == "bookworm") suite = 1 }
                  /^URIs:/ { uri = $2 }
                  END { flush() }' "$sources")
    [ -n "$mirror" ] && break
  done
fi
echo "${mirror:-http://deb.debian.org/debian}"
