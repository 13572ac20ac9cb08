#!/usr/bin/env bash
# Makes the i686 build runnable under Wine on a 64-bit-only kernel, without installing any i386
# package system-wide: a private i386 root with 32-bit Wine (and the libraries it loads), run
# through qemu-i386 registered with binfmt_misc. The system's 64-bit wineserver serves both
# loaders and accepts clients of its own protocol version only, so the private Wine is taken at
# the version of the installed wine64 and made again when that changes.
#
# Usage: install-wine32.sh [--check]
#   --check   only report (exit 1) whether something is missing; changes nothing
#
# Idempotent: returns at once when the root, qemu and the binfmt entry are in place. The binfmt
# entry does not survive a reboot, so a later run registers it again.
#
# Layout (WINE32_BASE, default /opt/cdsetup-wine32):
#   qemu/usr/bin/qemu-i386   static qemu user-mode emulator from the backports suite (the
#                            release's qemu is too slow at starting Wine's processes to be used)
#   root/                    the i386 root (QEMU_LD_PREFIX); root/usr/lib/wine/wine is the loader
#   apt/                     private apt state: sources, lists, cache (nothing under /etc/apt)
#
# The i386 architecture is named to apt on its command line only and never added to dpkg: with
# i386 known to dpkg, the next upgrade of the system could pull i386 packages and, through the
# multi-arch libraries that must match versions, upgrade many amd64 ones with them.
set -euo pipefail

base=${WINE32_BASE:-/opt/cdsetup-wine32}
qemu_dir=$base/qemu
qemu_bin=$qemu_dir/usr/bin/qemu-i386
root=$base/root
aptdir=$base/apt
binfmt_dir=/proc/sys/fs/binfmt_misc
binfmt_name=cdsetup-i386
# Bumped whenever the way the root is put together changes, so that old roots are rebuilt.
root_layout=1

# i386 ELF executables and shared objects (e_ident class 32-bit, little-endian, current version;
# e_type EXEC or DYN; e_machine 3).
binfmt_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
binfmt_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# O: qemu gets the binary as an open descriptor (it may be unreadable to the caller).
# P: argv[0] is kept, so Wine sees the name it was started by.
# F: the kernel opens qemu once, at registration, so it is found in any mount namespace.
binfmt_flags=OPF

# The X libraries winex11.drv opens by name at run time; libwine only recommends them, and the
# rest of what it recommends (GL, Vulkan, SDL, GStreamer...) is not needed for dialogs.
x_libraries=(libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1)

log() { echo "[install-wine32] $*" >&2; }
die() {
  log "$*"
  exit 1
}

wine_version() {
  dpkg-query -W -f='${Version}' libwine:amd64 2>/dev/null || true
}

root_stamp_text() {
  echo "layout=$root_layout wine=$(wine_version)"
}

qemu_ready() { [ -x "$qemu_bin" ] && [ -f "$qemu_dir/.complete" ]; }

root_ready() {
  [ -f "$root/.complete" ] && [ "$(cat "$root/.complete")" = "$(root_stamp_text)" ] &&
    [ -x "$root/usr/lib/wine/wine" ]
}

# The kernel prints the magic and mask as plain hex and the flags in an order of its own.
_hex() { printf '%b' "$1" | od -An -tx1 -v | tr -d ' \n'; }
_sorted_chars() { printf '%s' "$1" | grep -o . | sort | tr -d '\n'; }

binfmt_ready() {
  local entry=$binfmt_dir/$binfmt_name text
  [ -f "$entry" ] || return 1
  text=$(cat "$entry")
  grep -qx 'enabled' <<<"$text" &&
    grep -qxF "interpreter $qemu_bin" <<<"$text" &&
    [ "$(_sorted_chars "$(sed -n 's/^flags: //p' <<<"$text")")" = "$(_sorted_chars "$binfmt_flags")" ] &&
    grep -qx "magic $(_hex "$binfmt_magic")" <<<"$text" &&
    grep -qx "mask $(_hex "$binfmt_mask")" <<<"$text"
}

# The URI of the machine's own Debian archive: the source that carries the release suite.
# Both source formats are read (deb822 .sources files and one-line .list files).
debian_mirror() {
  local codename=$1 file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v suite="$codename" '
      function flush() {
        if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && uris != "" && !found) {
          split(uris, u, " "); print u[1]; found = 1
        }
        types = ""; suites = ""; uris = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      {
        key = tolower($1); sub(/:$/, "", key); $1 = ""; sub(/^ +/, "")
        if (key == "types") types = $0
        else if (key == "suites") suites = $0
        else if (key == "uris") uris = $0
        else if (key == "enabled" && tolower($0) == "no") types = ""
      }
      END { flush() }' "$file"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    # deb [options] uri suite components...
    sed -e 's/#.*//' -e 's/\[[^]]*\]//' "$file" |
      awk -v suite="$codename" '$1 == "deb" && $3 == suite { print $2 }'
  done
}

# Runs apt-get against the private state only: our own sources list, lists and cache; the
# system's sources, lists and dpkg architectures stay as they are.
private_apt() {
  local tool=$1 name=$2
  shift 2
  "$tool" -o Dir::Etc::SourceList="$aptdir/$name.list" \
    -o Dir::Etc::SourceParts="$aptdir/empty.d" \
    -o Dir::State::Lists="$aptdir/lists-$name" \
    -o Dir::Cache="$aptdir/cache-$name" \
    -o Dir::Cache::pkgcache="" -o Dir::Cache::srcpkgcache="" \
    -o Acquire::Languages=none \
    "$@"
}

write_private_sources() {
  local name=$1 archs=$2 suites=$3 mirror=$4 keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  local options="arch=$archs" suite
  [ -f "$keyring" ] && options+=" signed-by=$keyring"
  mkdir -p "$aptdir/empty.d" "$aptdir/lists-$name/partial" "$aptdir/cache-$name/archives/partial"
  : >"$aptdir/$name.list"
  for suite in $suites; do
    echo "deb [$options] $mirror $suite main" >>"$aptdir/$name.list"
  done
}

# apt-get download writes into the current folder as the sandbox user _apt.
download_dir() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$dir"
  if id _apt >/dev/null 2>&1; then chown _apt "$dir"; fi
}

install_qemu() {
  local codename=$1 mirror=$2 work=$base/work-qemu
  log "fetching qemu-user from $codename-backports"
  write_private_sources backports amd64 "$codename-backports" "$mirror"
  private_apt apt-get backports update -qq
  download_dir "$work"
  (cd "$work" && private_apt apt-get backports download -qq qemu-user/"$codename-backports")
  # The package carries every target; only the i386 one (and its licence) is kept.
  dpkg-deb -x "$work"/qemu-user_*.deb "$work/x"
  rm -rf "$qemu_dir"
  mkdir -p "$qemu_dir/usr/bin" "$qemu_dir/usr/share/doc"
  cp -a "$work/x/usr/bin/qemu-i386" "$qemu_dir/usr/bin/" ||
    die "the qemu-user package has no usr/bin/qemu-i386"
  cp -a "$work/x/usr/share/doc/qemu-user" "$qemu_dir/usr/share/doc/" 2>/dev/null || true
  rm -rf "$work"
  # Registered with F, qemu is opened by the kernel in whatever mount namespace the i386 program
  # runs; a dynamically linked one would look for its libraries there.
  if readelf -l "$qemu_bin" | grep -q 'INTERP'; then
    die "$qemu_bin is not statically linked"
  fi
  touch "$qemu_dir/.complete"
}

register_binfmt() {
  mountpoint -q "$binfmt_dir" || mount -t binfmt_misc binfmt_misc "$binfmt_dir"
  # A stale entry (other qemu, other flags) cannot be changed in place: remove it first.
  if [ -f "$binfmt_dir/$binfmt_name" ]; then
    echo -1 >"$binfmt_dir/$binfmt_name"
  fi
  log "registering $qemu_bin for i386 ELF programs"
  printf ':%s:M::%s:%s:%s:%s' "$binfmt_name" "$binfmt_magic" "$binfmt_mask" "$qemu_bin" \
    "$binfmt_flags" >"$binfmt_dir/register"
  binfmt_ready || die "binfmt_misc entry $binfmt_name did not take"
}

# Packages (name:arch=version) that installing 32-bit Wine would bring in, as the system's apt
# sees it: the simulation runs against the system's dpkg status, so anything of another
# architecture that is already installed (arch-independent data, the amd64 side) is left out.
i386_package_list() {
  local wine_ver=$1 x want=()
  want=("wine32:i386=$wine_ver" "libwine:i386=$wine_ver")
  for x in "${x_libraries[@]}"; do want+=("$x:i386"); done
  private_apt apt-get main -o APT::Architectures::=amd64 -o APT::Architectures::=i386 \
    install -s -qq --no-install-recommends "${want[@]}" |
    sed -n 's/^Inst \([^ ]*:i386\) \(\[[^]]*\] \)\{0,1\}(\([^ ]*\) .*/\1=\3/p'
}

# Wine loads zlib1.dll as one of its own PE builtins; Debian's libwine takes it from the MinGW
# build of zlib and marks it with Wine's builtin signature in the DOS stub (offset 64), as its
# maintainer script does.
place_builtin_zlib() {
  local work=$1 dll_dir=$2 in
  in=$(find "$work/zlib" -path '*/i686-w64-mingw32/lib/zlib1.dll' -print -quit)
  [ -n "$in" ] || die "libz-mingw-w64 has no i686 zlib1.dll"
  {
    head -c 64 "$in"
    printf 'Wine builtin DLL'
    printf '\0%.0s' $(seq 16)
    tail -c +97 "$in"
  } >"$dll_dir/zlib1.dll"
}

install_root() {
  local codename=$1 mirror=$2 wine_ver work=$base/work-root new=$base/root.new
  wine_ver=$(wine_version)
  [ -n "$wine_ver" ] || die "wine64 (libwine:amd64) is not installed; run install-deps.sh first"
  log "fetching 32-bit Wine $wine_ver and its i386 libraries"
  # Only the release and its updates, where Wine and its libraries are: the root serves tests
  # and needs no security suite, whose indexes would be one more download that can fail.
  write_private_sources main amd64,i386 "$codename $codename-updates" "$mirror"
  private_apt apt-get main -o APT::Architectures::=amd64 -o APT::Architectures::=i386 update -qq

  local packages=()
  mapfile -t packages < <(i386_package_list "$wine_ver")
  [ ${#packages[@]} -gt 0 ] || die "apt lists no i386 packages for wine32:i386=$wine_ver"
  printf '%s\n' "${packages[@]}" | grep -q "^wine32:i386=" ||
    die "wine32:i386=$wine_ver is not in the archive (upgrade wine64 to the archive's version)"

  download_dir "$work"
  (cd "$work" && private_apt apt-get main -o APT::Architectures::=amd64 \
    -o APT::Architectures::=i386 download -qq "${packages[@]}" libz-mingw-w64)

  rm -rf "$new"
  mkdir -p "$new"
  local deb
  for deb in "$work"/*_i386.deb; do
    dpkg-deb -x "$deb" "$new"
  done
  mkdir -p "$work/zlib"
  dpkg-deb -x "$work"/libz-mingw-w64_*.deb "$work/zlib"

  # qemu resolves the program interpreter (/lib/ld-linux.so.2) under QEMU_LD_PREFIX, and the
  # i386 packages put libraries under both lib and usr/lib: merge them as a merged-/usr system.
  if [ -d "$new/lib" ] && [ ! -L "$new/lib" ]; then
    mkdir -p "$new/usr/lib"
    cp -a "$new/lib/." "$new/usr/lib/"
    rm -rf "${new:?}/lib"
  fi
  ln -sfn usr/lib "$new/lib"

  local kernel32
  kernel32=$(find "$new/usr/lib" -path '*/wine/i386-windows/kernel32.dll' -print -quit)
  [ -n "$kernel32" ] || die "no i386-windows folder in the 32-bit Wine"
  place_builtin_zlib "$work" "$(dirname "$kernel32")"

  [ -x "$new/usr/lib/wine/wine" ] || die "the 32-bit Wine has no usr/lib/wine/wine"
  root_stamp_text >"$new/.complete"
  rm -rf "$root"
  mv "$new" "$root"
  rm -rf "$work"
}

check_only=0
[ "${1:-}" = "--check" ] && check_only=1

if qemu_ready && root_ready && binfmt_ready; then
  exit 0
fi
if [ $check_only -eq 1 ]; then
  qemu_ready || log "missing: qemu-i386 in $qemu_dir"
  root_ready || log "missing or outdated: the i386 root in $root"
  binfmt_ready || log "missing: binfmt_misc entry $binfmt_name"
  exit 1
fi
[ "$(id -u)" -eq 0 ] || die "32-bit Wine is not set up (run $0 as root)"

mkdir -p "$base"
exec 9>"$base/.lock"
flock 9

codename=$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release | tr -d '"')
[ -n "$codename" ] || die "no VERSION_CODENAME in /etc/os-release"
mirror=
if ! qemu_ready || ! root_ready; then
  mirror=$(debian_mirror "$codename" | sed -n 1p)
  [ -n "$mirror" ] || die "no Debian source for $codename in the apt sources"
fi

reregister=0
if ! qemu_ready; then
  install_qemu "$codename" "$mirror"
  reregister=1
fi
if [ $reregister -eq 1 ] || ! binfmt_ready; then
  register_binfmt
fi
if ! root_ready; then
  install_root "$codename" "$mirror"
fi
log "32-bit Wine ready: $root/usr/lib/wine/wine through $qemu_bin"
