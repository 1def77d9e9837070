#!/usr/bin/env bash
# Runs a command in a Debian 12 virtual machine whose kernel runs 32-bit x86
# programs, for hosts whose kernel runs none (IA-32 emulation off, as on some
# virtual machines): Wine's loader is one. qemu emulates the machine in
# software, so what runs inside is about ten times slower than on the host.
#
# The machine's root is made once per machine with debootstrap, in
# $PINVALE_VM_ROOT (default /var/cache/pinvale/ia32-vm-bookworm), and copied
# into a disk image beside it; every run starts from that image and its writes
# are thrown away. The project folder is shared at its own path, read-write,
# so build trees keep their names inside; the Wine 10 root, once made, comes
# in as a disk of its own at its own path. The command's output and exit
# status are the run's. Run as root.  Usage: ia32-vm.sh COMMAND [ARG...]
set -euo pipefail
project=$(cd "$(dirname "$0")/.." && pwd)
root=${PINVALE_VM_ROOT:-/var/cache/pinvale/ia32-vm-bookworm}
wine10_root=${PINVALE_WINE10_ROOT:-/var/cache/pinvale/wine10-trixie}
suite=bookworm
packages=(
  linux-image-amd64 initramfs-tools  # the machine's own kernel and its start
  cmake                              # ctest
  wine wine32:i386 xvfb xdotool      # what the Windows tests run on, as in
  x11-utils fonts-wqy-microhei       # install-deps.sh
  fonts-wine
  imagemagick librsvg2-bin icoutils zopfli locales
)
stamp="$suite ${packages[*]} init-1"

# What the run needs, said before the slow part (the root takes minutes).
for tool in qemu-system-x86_64 setpriv; do
  command -v "$tool" >/dev/null ||
    { echo "ia32-vm.sh: $tool is missing: PINVALE_EMULATE=1 bash scripts/install-deps.sh installs it" >&2; exit 1; }
done

# shellcheck source=debian-root.sh
. "$project/scripts/debian-root.sh"

# The machine starts this from its own disk: the run's script comes in over
# the shared "job" folder.
finish_root() {
  cat >"$1/sbin/pinvale-vm-init" <<'EOF'
#!/bin/sh
modprobe 9pnet_virtio && modprobe 9p &&
  mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144,cache=mmap job /mnt &&
  exec /bin/bash /mnt/guest.sh
echo o >/proc/sysrq-trigger
EOF
  chmod 755 "$1/sbin/pinvale-vm-init"
}

# image_of DIR FD: DIR.img, an ext4 image of DIR, made anew when DIR's stamp
# is newer. The caller holds DIR's lock, shared, on descriptor FD; the image
# is made holding it alone, so that no run has anything mounted in DIR, and
# with what a killed run left mounted there undone: mke2fs would copy it in.
image_of() {
  local dir=$1 fd=$2 image=$1.img
  [ "$image" -nt "$dir/.pinvale-packages" ] && return
  flock -x "$fd"
  if [ ! "$image" -nt "$dir/.pinvale-packages" ]; then
    remove_leftover_mounts "$dir"
    echo "Copying $dir into a disk image; once per change of it." >&2
    local size
    size=$(du -s --block-size=1M --one-file-system "$dir" | cut -f1)
    rm -f "$image.new"
    truncate -s "$((size * 5 / 4 + 1024))M" "$image.new"
    mke2fs -q -t ext4 -d "$dir" "$image.new"
    mv "$image.new" "$image"
  fi
  flock -s "$fd"
}

ensure_root "$root" "$suite" "$stamp" "${packages[@]}"
image_of "$root" 9
kernel=$(ls "$root"/boot/vmlinuz-* | tail -n 1)
initrd=$(ls "$root"/boot/initrd.img-* | tail -n 1)

# Stopped with the script, however it ends: a TERM to it, Ctrl+C, timeout.
# The machine is asked first, so that what runs there can save its files
# into the build tree (a machine killed at once loses its unsynced writes:
# seen as an empty registry in a Wine prefix); after 8 s it is killed. A
# script killed outright (KILL: out of memory, a hard stop) runs no trap:
# qemu then dies with it (its parent-death signal), and the next run removes
# the job folder it left.
for left in "${TMPDIR:-/tmp}"/pinvale-vm.*; do
  [ -f "$left/pid" ] && ! kill -0 "$(cat "$left/pid")" 2>/dev/null && rm -rf "$left"
done
job=$(mktemp -d -t pinvale-vm.XXXXXX)
echo $$ >"$job/pid"
machine=
stop_machine() {
  if [ -n "$machine" ]; then
    : >"$job/stop"
    for _ in $(seq 80); do
      kill -0 "$machine" 2>/dev/null || break
      sleep 0.1
    done
    kill "$machine" 2>/dev/null || true
    wait "$machine" 2>/dev/null || true
  fi
  rm -rf "$job"
  unmount_all
}
trap stop_machine EXIT
cp "$project/scripts/ia32-vm-guest.sh" "$job/guest.sh"
disks=(-drive "file=$root.img,if=virtio,format=raw,snapshot=on")
if [ -f "$wine10_root/.pinvale-packages" ]; then
  exec 8>"$wine10_root.lock"
  flock -s 8
  image_of "$wine10_root" 8
  disks+=(-drive "file=$wine10_root.img,if=virtio,format=raw,snapshot=on")
  echo "/dev/vdb $wine10_root" >"$job/disks"
fi
# Emulated, the machine runs programs about ten times slower: the tests'
# waits for the program stretch as much.
export PINVALE_TIME_SCALE=${PINVALE_TIME_SCALE:-10}
# The project with the page cache: with none, Wine read the later part of a
# large program's code as zeros.
{
  echo "set -e"  # never the command elsewhere than asked
  echo "mkdir -p $(printf %q "$project") && mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144,cache=loose project $(printf %q "$project")"
  echo "cd $(printf %q "$PWD")"
  while IFS= read -r name; do echo "export $name=$(printf %q "${!name}")"; done < <(compgen -e | grep '^PINVALE_' || true)
  printf '%q ' "$@"
  echo
} >"$job/command.sh"

# KVM where it runs this machine, else software emulation. A /dev/kvm can
# open and still run no guest (seen under nested virtualization: nothing
# came in 40 s), so KVM is chosen only once the kernel's first line comes
# from it, which it does in about a second; it gets 10.
kvm_boots() {
  [ -r /dev/kvm ] && [ -w /dev/kvm ] || return 1
  local booted=1 probe
  setpriv --pdeathsig KILL qemu-system-x86_64 -accel kvm -cpu max,-smap -m 256 -display none -monitor none \
    -no-reboot -nic none -kernel "$kernel" -append "console=ttyS0 panic=-1" -serial "file:$job/kvm.log" \
    </dev/null >/dev/null 2>&1 &
  probe=$!
  for _ in $(seq 100); do
    grep -q 'Linux version' "$job/kvm.log" 2>/dev/null && { booted=0; break; }
    kill -0 "$probe" 2>/dev/null || break
    sleep 0.1
  done
  kill "$probe" 2>/dev/null || true
  wait "$probe" 2>/dev/null || true
  return "$booted"
}
accel=(-accel tcg,thread=multi)
if kvm_boots; then
  accel=(-accel kvm "${accel[@]}")
  echo "ia32-vm.sh: KVM" >&2
else
  echo "ia32-vm.sh: software emulation (no KVM here that runs the machine)" >&2
fi
# The kernel's own messages go to a file, shown only if the machine fails.
# No SMAP: qemu 7.2 reads the stack of a 32-bit iret from user mode as the
# kernel would, and SMAP then faults it; Wine's 32-bit code returns that way.
# In a process group of its own, so that a signal to this script's group
# (Ctrl+C, timeout) comes to this script alone, which stops the machine as
# above: qemu would end at once on it. It is killed if this script is.
setpriv --pdeathsig KILL setsid qemu-system-x86_64 "${accel[@]}" -cpu max,-smap -smp "$(nproc)" -m 4096 \
  -display none -monitor none -no-reboot -nic none \
  -kernel "$kernel" -initrd "$initrd" \
  -append "root=/dev/vda rw console=ttyS0 init=/sbin/pinvale-vm-init panic=-1 quiet" \
  "${disks[@]}" -serial "file:$job/console.log" \
  -virtfs "local,path=$job,mount_tag=job,security_model=none" \
  -virtfs "local,path=$project,mount_tag=project,security_model=none" \
  -device virtio-serial -chardev stdio,id=out,signal=off -device virtconsole,chardev=out </dev/null &
# In the background, so that the traps run as soon as a signal comes.
machine=$!
wait "$machine" || true
machine=
if [ ! -f "$job/status" ]; then
  echo "ia32-vm.sh: the machine stopped before the command ended; its console said:" >&2
  tail -n 30 "$job/console.log" >&2
  exit 1
fi
exit "$(cat "$job/status")"
