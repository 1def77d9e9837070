# Debian roots made with debootstrap, and commands run in them: sourced by
# the scripts that keep one. Run as root.

debian_mirror() {
  # The archive that this machine's own Debian release comes from, in the
  # deb822 or the one-line sources; never its security archive.
  local codename uri
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  local sources=() file
  for file in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] && sources+=("$file")
  done
  uri=$(awk -v want="$codename" '
      /^URIs:/ { uri = $2 }
      /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == want && uri !~ /security/) { print uri; exit } }
      $1 == "deb" { for (i = 2; i < NF; i++) if ($i ~ /^[a-z]+:\/\// && $(i + 1) == want) { print $i; exit } }' \
    "${sources[@]}" </dev/null || true)
  [ -n "$uri" ] || { echo "no Debian mirror for $codename in the apt sources" >&2; return 1; }
  echo "$uri"
}

mounts=()
# mount_at TARGET MOUNT-ARGUMENTS...: mounted, and remembered for unmounting.
# Each is a slave: where the host's mounts are shared (systemd's default), a
# bind of /dev is a peer of the host's /dev, and what is mounted on it, such
# as the root's /dev/shm, would otherwise appear on the host too.
mount_at() {
  local target=$1
  shift
  mount "$@" "$target"
  mounts+=("$target")
  mount --make-rslave "$target"
}
mount_into() {  # mount_into ROOT: what Wine, Xvfb and apt need, and the project
  local dir=$1
  mkdir -p "$dir/proc" "$dir/dev" "$dir$project"
  mount_at "$dir/proc" -t proc proc
  mount_at "$dir/dev" --bind /dev
  mount_at "$dir/dev/pts" --bind /dev/pts
  mount_at "$dir/dev/shm" -t tmpfs tmpfs
  mount_at "$dir$project" --bind "$project"
}
unmount_all() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" 2>/dev/null || true; done
  mounts=()
}
trap unmount_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

in_root() {  # in_root ROOT COMMAND...: the root's own environment, not ours
  local dir=$1
  shift
  chroot "$dir" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}

# Removes a root, refusing while anything is mounted inside: the project
# is bind-mounted there, and rm would go through into it.
remove_root() {
  local dir=$1
  [ -e "$dir" ] || return 0
  if findmnt -rn -o TARGET | grep -q -F "$dir/"; then
    echo "$dir still has mounts inside; not removing it" >&2
    return 1
  fi
  rm -rf --one-file-system "$dir"
}

# make_root ROOT SUITE STAMP PACKAGE...: made anew, then put in place whole;
# the sourcing script's finish_root NEW-ROOT, if it has one, adds its own.
make_root() {
  local root=$1 suite=$2 stamp=$3
  shift 3
  local new=$root.new mirror started
  started=$(date +%s)
  mirror=$(debian_mirror)
  command -v debootstrap >/dev/null || apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
  remove_root "$new"
  mkdir -p "$(dirname "$root")"
  echo "Making a Debian $suite root in $root; once per machine, a few minutes."
  debootstrap --variant=minbase "$suite" "$new" "$mirror" >"$new.log" 2>&1 ||
    { tail -n 20 "$new.log" >&2; return 1; }
  mount_into "$new"
  in_root "$new" dpkg --add-architecture i386
  in_root "$new" apt-get update -qq
  in_root "$new" apt-get install -y -qq --no-install-recommends "$@" >"$new.log" 2>&1 ||
    { tail -n 20 "$new.log" >&2; return 1; }
  in_root "$new" apt-get clean
  unmount_all
  if declare -F finish_root >/dev/null; then finish_root "$new"; fi
  echo "$stamp" >"$new/.pinvale-packages"
  remove_root "$root"
  rm -f "$new.log"
  mv "$new" "$root"
  echo "Root ready in $(($(date +%s) - started)) s: $(du -sh --one-file-system "$root" | cut -f1)."
}

# What a run that was killed (SIGKILL, as at a CI time-out) left mounted
# under a root: deepest first, and again while mounts are stacked there.
remove_leftover_mounts() {
  local dir=$1 target
  while target=$(findmnt -rn -o TARGET | awk -v under="$dir/" 'index($0, under) == 1' | sort -r | head -n 1) &&
    [ -n "$target" ]; do
    echo "unmounting $target, left by an earlier run" >&2
    umount -l "$target"
  done
}

# ensure_root ROOT SUITE STAMP PACKAGE...: the root, made if its stamp differs;
# returns holding a shared lock on it, so that no root is replaced under a run.
# Holding the lock alone, whatever is mounted in the roots is a leftover: it
# is taken alone only where no run holds it, or where the root must be made,
# which waits for the runs to end.
ensure_root() {
  local root=$1 suite=$2 stamp=$3
  mkdir -p "$(dirname "$root")"
  exec 9>"$root.lock"
  if flock -x -n 9; then
    remove_leftover_mounts "$root"
    remove_leftover_mounts "$root.new"
  fi
  flock -s 9
  if [ "$(cat "$root/.pinvale-packages" 2>/dev/null)" != "$stamp" ]; then
    flock -x 9
    remove_leftover_mounts "$root"
    remove_leftover_mounts "$root.new"
    [ "$(cat "$root/.pinvale-packages" 2>/dev/null)" = "$stamp" ] || make_root "$@"
    flock -s 9
  fi
}
