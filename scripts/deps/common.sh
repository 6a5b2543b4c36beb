# Helpers for build-win32-deps; sourced, not run. Uses its globals
# (deps_dir, prefix, force, the toolchain variables, ...).
# shellcheck shell=bash disable=SC2154,SC2004

die() {
  echo "build-win32-deps: $*" >&2
  exit 1
}

# Highest version of a source package that apt's lists know (no network).
source_version() {
  local v best=""
  while read -r v; do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then
      best=$v
    fi
  done < <(apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: //p')
  echo "$best"
}

resolve_source_versions() {
  local lib ok=0
  for lib in "${DEP_LIBS[@]}"; do
    SRC_VERSION[$lib]=$(source_version "${SRC_PKG[$lib]}")
    [ -n "${SRC_VERSION[$lib]}" ] || ok=1
  done
  return $ok
}

missing_source_versions() {
  local lib
  for lib in "${DEP_LIBS[@]}"; do
    [ -n "${SRC_VERSION[$lib]}" ] || printf '%s ' "${SRC_PKG[$lib]}"
  done
}

# Makes sure apt has source indexes (deb-src), then refreshes them. Only
# called when apt-cache does not know a source package.
ensure_deb_src() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  local f=/etc/apt/sources.list.d/debian.sources
  if [ -f "$f" ] && ! grep -q '^Types:.*deb-src' "$f"; then
    echo "build-win32-deps: enabling deb-src in $f"
    $sudo sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
  elif [ ! -f "$f" ] && [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src' /etc/apt/sources.list; then
    echo "build-win32-deps: adding deb-src lines to /etc/apt/sources.list"
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $sudo tee -a /etc/apt/sources.list >/dev/null
  fi
  echo "build-win32-deps: apt-get update"
  $sudo apt-get update -qq
}

# Everything the cache key depends on, one fact per line.
cache_fingerprint() {
  local f lib
  for f in "$deps_dir/build-win32-deps" "$deps_dir/common.sh" "$deps_dir"/recipes/*.sh \
           "$deps_dir"/patches/*/*.patch; do
    [ -f "$f" ] || continue
    echo "file ${f#"$deps_dir"/} $(sha256sum <"$f" | cut -d' ' -f1)"
  done
  dpkg-query -W -f='pkg ${Package} ${Version}\n' "${TOOLCHAIN_PKGS[@]}" 2>/dev/null ||
    die "toolchain packages missing (${TOOLCHAIN_PKGS[*]}); run scripts/setup"
  for lib in "${DEP_LIBS[@]}"; do
    echo "src $lib ${SRC_PKG[$lib]} ${SRC_VERSION[$lib]}"
  done
}

# $QV_CACHE/win32 -> deps-<hash>, swapped in with a rename.
point_symlink() {
  local link="$QV_CACHE/win32" target
  target=$(basename "$prefix")
  [ "$(readlink "$link" 2>/dev/null || true)" = "$target" ] && return 0
  ln -sfn "$target" "$link.new.$$"
  mv -Tf "$link.new.$$" "$link"
}

prune_old_builds() {
  local d
  exec 9>"$QV_CACHE/.lock"
  flock 9
  for d in "$QV_CACHE"/deps-*; do
    [ -e "$d" ] || continue
    [ "$d" = "$prefix" ] && continue
    echo "win32 deps: removing $d"
    rm -rf "$d"
  done
  exec 9>&-
}

require_tools() {
  local t missing=()
  for t in "$CC" "$CXX" "$AR" "$RANLIB" "$WINDRES" gcc make autoreconf libtoolize cmake \
           pkg-config apt-get dpkg-query flock tar xz sha256sum; do
    command -v "$t" >/dev/null 2>&1 || missing+=("$t")
  done
  [ ${#missing[@]} -eq 0 ] || die "missing tools: ${missing[*]}; run scripts/setup"
  [ -f /usr/share/aclocal/ogg.m4 ] || die "/usr/share/aclocal/ogg.m4 missing (libogg-dev); run scripts/setup"
  [ -f "/usr/$HOST/include/zlib.h" ] || die "mingw zlib missing (libz-mingw-w64-dev); run scripts/setup"
}

# Downloads (or reuses from $QV_CACHE/sources) the upstream tarball of a
# source package and checks it against the .dsc. Sets ORIG.
fetch_orig() {
  local pkg=$1 ver=$2 dir="$QV_CACHE/sources"
  local dsc="$dir/${pkg}_${ver#*:}.dsc"
  mkdir -p "$dir"
  if ! orig_from_dsc "$dsc"; then
    echo "+ apt-get source --download-only $pkg=$ver"
    # Debian's patch tarball is not always served; only the orig one matters.
    (cd "$dir" && apt-get source --download-only "$pkg=$ver") ||
      echo "apt-get source failed; looking for the orig tarball anyway"
    orig_from_dsc "$dsc" || die "no verified orig tarball for $pkg $ver in $dir"
  fi
  echo "using $ORIG"
}

orig_from_dsc() {
  local dsc=$1 sha name
  [ -f "$dsc" ] || return 1
  read -r sha name < <(awk '
    /^Checksums-Sha256:/ { s = 1; next }
    /^[^ ]/ { s = 0 }
    s && $3 ~ /\.orig\.tar\.[a-z0-9]+$/ { print $1, $3; exit }' "$dsc") || return 1
  [ -n "$name" ] && [ -f "$(dirname "$dsc")/$name" ] || return 1
  echo "$sha  $(dirname "$dsc")/$name" | sha256sum -c --status - || return 1
  ORIG="$(dirname "$dsc")/$name"
}

# Unpacks ORIG under the work dir. Sets SRCDIR to its top directory.
unpack_orig() {
  local lib=$1 dest="$WORK/src/$1" top
  rm -rf "$dest"
  mkdir -p "$dest"
  tar -xf "$ORIG" -C "$dest"
  top=$(find "$dest" -mindepth 1 -maxdepth 1)
  if [ "$(printf '%s\n' "$top" | wc -l)" -eq 1 ] && [ -d "$top" ]; then
    SRCDIR=$top
  else
    SRCDIR=$dest
  fi
}

# Applies the project's own fixes, patches/LIB/*.patch in order, in the
# unpacked source (the current directory).
apply_patches() {
  local p
  for p in "$deps_dir/patches/$1"/*.patch; do
    [ -f "$p" ] || continue
    echo "+ patch -p1 < ${p#"$deps_dir"/}"
    patch -p1 --forward --no-backup-if-mismatch <"$p"
  done
}

# ./configure for an autotools library, static only, into the staging prefix.
ac_configure() {
  echo "+ ./configure $*"
  ./configure --host="$HOST" --build="$BUILD" --prefix="$PREFIX" \
    --enable-static --disable-shared \
    CC="$CC" CXX="$CXX" AR="$AR" RANLIB="$RANLIB" \
    CFLAGS="$OPT_FLAGS" CXXFLAGS="$OPT_FLAGS" "$@"
}

sed_escape() {
  printf '%s' "$1" | sed 's/[][\.*^$|/]/\\&/g'
}

fail_lib() {
  local lib=$1 log=$2
  echo "FAILED"
  echo "---- last lines of $log ----" >&2
  tail -n 40 "$log" >&2
  echo "---- full log: $log (work dir kept: $WORK) ----" >&2
  rm -rf "$PREFIX"
  exit 1
}

# Points everything at the final prefix and drops what a static build does
# not need.
finalize_prefix() {
  local lib pc
  find "$PREFIX" -name '*.la' -delete
  rm -rf "$PREFIX/share/doc" "$PREFIX/share/man"
  { grep -rlIZ -F "$PREFIX" "$PREFIX" || true; } |
    xargs -0r sed -i "s|$(sed_escape "$PREFIX")|$(sed_escape "$prefix")|g"
  if grep -rlI -F "$PREFIX" "$PREFIX"; then
    die "files above still name the staging directory $PREFIX"
  fi
  for lib in "${DEP_LIBS[@]}"; do
    for pc in ${PC_NAMES[$lib]:-}; do
      pkg-config --static --cflags --libs "$pc" >/dev/null ||
        die "pkg-config cannot resolve $pc after the $lib build"
    done
  done
}

build_all() {
  require_tools
  exec 9>"$QV_CACHE/.lock"
  if ! flock -n 9; then
    echo "win32 deps: waiting for another build to finish"
    flock 9
  fi
  if [ "$force" = 0 ] && [ -f "$prefix/.complete" ]; then
    point_symlink
    echo "win32 deps: up to date ($prefix)"
    exec 9>&-
    return 0
  fi

  # Nothing from the caller's environment should change what gets built.
  unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS LIBS CONFIG_SITE MAKEFLAGS MFLAGS \
        PKG_CONFIG_PATH PKG_CONFIG_SYSROOT_DIR
  PREFIX="$prefix.tmp"
  BUILD=$(gcc -dumpmachine)
  export PKG_CONFIG_LIBDIR="$PREFIX/lib/pkgconfig"
  rm -rf "$PREFIX"
  mkdir -p "$PREFIX/lib/pkgconfig" "$PREFIX/include"
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/qv-win32-deps.XXXXXX")
  mkdir -p "$WORK/logs"
  # Interrupted: leave nothing half-built behind (a later run would also
  # start $PREFIX afresh).
  trap 'echo "build-win32-deps: interrupted" >&2; rm -rf "$PREFIX" "$WORK"; exit 130' INT TERM HUP

  echo "win32 deps: building $prefix"
  echo "  work dir $WORK, make -j$JOBS, flags: $OPT_FLAGS"
  local lib log n=0 rc t0 t_all=$SECONDS
  for lib in "${DEP_LIBS[@]}"; do
    n=$((n + 1))
    log="$WORK/logs/$lib.log"
    printf '  [%d/%d] %-10s %-32s ' "$n" "${#DEP_LIBS[@]}" "$lib" "${SRC_PKG[$lib]} ${SRC_VERSION[$lib]}"
    t0=$SECONDS
    # The recipe runs in a subshell with its own errexit; its status is
    # looked at here, not by the ERR trap.
    set +e
    trap - ERR
    (
      set -e
      trap 'on_err "$LINENO" "$BASH_COMMAND"' ERR
      fetch_orig "${SRC_PKG[$lib]}" "${SRC_VERSION[$lib]}"
      unpack_orig "$lib"
      cd "$SRCDIR"
      "build_$lib"
    ) >"$log" 2>&1 </dev/null
    rc=$?
    trap 'on_err "$LINENO" "$BASH_COMMAND"' ERR
    set -e
    [ "$rc" -eq 0 ] || fail_lib "$lib" "$log"
    echo "ok ($((SECONDS - t0))s)"
  done

  finalize_prefix
  mkdir -p "$PREFIX/.build-logs"
  cp "$WORK"/logs/*.log "$PREFIX/.build-logs/"
  cache_fingerprint >"$PREFIX/.buildinfo"
  date -u +%FT%TZ >"$PREFIX/.complete"

  # Swap in the new build; a half-built prefix never carries .complete.
  if [ -e "$prefix" ]; then
    mv -T "$prefix" "$prefix.old.$$"
  fi
  mv -T "$PREFIX" "$prefix"
  rm -rf "$prefix.old.$$"
  point_symlink
  trap - INT TERM HUP
  exec 9>&-
  [ "${QV_KEEP_WORK:-0}" = 1 ] || rm -rf "$WORK"
  echo "win32 deps: done in $((SECONDS - t_all))s -> $QV_CACHE/win32 ($prefix)"
}
