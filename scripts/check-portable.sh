#!/usr/bin/env bash
# Fails when a portable folder includes an OS or toolkit header. Portable code reaches the
# operating system only through src/os/*.h.
set -euo pipefail
cd "$(dirname "$0")/.."
portable=(src/os/*.h src/os/sim src/app src/log src/drives src/sizetest src/canvas src/ui)
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](windows\.h|winioctl\.h|winsock2?\.h|ntddscsi\.h|shlobj\.h|commctrl\.h|unistd\.h|fcntl\.h|sys/[^>"]*|linux/[^>"]*|scsi/[^>"]*|dirent\.h|pthread\.h|poll\.h|termios\.h|signal\.h|ini\.h|INIReader\.h|fuse[^>"]*|Q[A-Za-z]+|qt[^>"]*|gtk/[^>"]*|X11/[^>"]*)[>"]'
found=$(grep -rnE "$pattern" "${portable[@]}" 2>/dev/null || true)
if [ -n "$found" ]; then
    echo "check-portable: OS or toolkit headers in portable folders:" >&2
    echo "$found" >&2
    exit 1
fi
echo "check-portable: portable folders include no OS or toolkit header"
