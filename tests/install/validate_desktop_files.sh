#!/usr/bin/env bash
# Validates the editor's desktop entry, AppStream metainfo and icon with the desktop's own tools;
# exits 77 (skipped) when a tool is missing (scripts/install-deps.sh installs them).
#   validate_desktop_files.sh DESKTOP_FILE METAINFO_FILE ICON_FILE
set -euo pipefail

for tool in desktop-file-validate appstreamcli xmllint; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed: skipped" >&2
        exit 77
    fi
done
desktop-file-validate "$1"
appstreamcli validate --no-net "$2"
xmllint --noout "$3"
