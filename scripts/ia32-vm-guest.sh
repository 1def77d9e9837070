#!/bin/bash
# The first process of the machine that ia32-vm.sh starts: it mounts what
# programs need, the project and any disks, runs the command with its output
# on the host's terminal, leaves its exit status in the shared job folder
# (/mnt) and powers the machine off, whatever happened, with its writes to
# the host's folders synced.
job=/mnt
power_off() {
  sync
  echo o >/proc/sysrq-trigger
  sleep 60
}
trap power_off EXIT

mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sysfs /sys
mountpoint -q /dev || mount -t devtmpfs devtmpfs /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
for dir in /dev/shm /tmp /run; do mount -t tmpfs tmpfs "$dir"; done
if [ -f "$job/disks" ]; then
  while read -r device dir; do
    mkdir -p "$dir" && mount "$device" "$dir"
  done <"$job/disks"
fi
export HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8

# The output goes to the host unchanged: no carriage returns added.
modprobe virtio_console
for _ in $(seq 50); do [ -c /dev/hvc0 ] && break; sleep 0.1; done
stty -F /dev/hvc0 raw -echo
exec >/dev/hvc0 2>&1 </dev/null
# A "stop" file from the host (ia32-vm.sh stopped) ends the command, in a
# process group of its own, so that what it runs can save its files (a Wine
# server its registry) before the machine goes.
setsid bash "$job/command.sh" &
command=$!
while kill -0 "$command" 2>/dev/null; do
  [ ! -e "$job/stop" ] || kill -TERM -- "-$command" 2>/dev/null
  sleep 0.5
done
status=0
wait "$command" || status=$?
echo "$status" >"$job/status"
