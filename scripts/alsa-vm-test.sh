#!/usr/bin/env bash
# Tests the ALSA sequencer bridge against a real kernel sequencer: boots
# Debian's kernel under qemu (software emulation) with a busybox initramfs
# holding the test programs, loads the sequencer's modules and checks with
# ALSA's own tools that "Vantu MIDI OUT A" appears, that a subscription made
# from outside reaches the roster as a connection, that a played song arrives
# at aseqdump complete and in order, and that a device vanishing during play
# is withdrawn. The bridge's own tests run in there too.
#
#   scripts/alsa-vm-test.sh [build-dir]      (default: build-asan)
#
# Exit status: 0 passed, 1 failed, 2 no result (something needed to run the
# test is missing, or the machine gave no answer in time).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-asan}")
cache=${VANTUMIDI_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vantumidi-vm}
vm_timeout=${VANTUMIDI_VM_TIMEOUT:-420}
modules=(soundcore snd snd-timer snd-hrtimer snd-seq-device snd-seq
  snd-seq-dummy snd-seq-midi-event snd-seq-midi snd-rawmidi snd-seq-virmidi
  snd-virmidi)

no_result() { echo "alsa-vm-test: NO RESULT: $*" >&2; exit 2; }
failures=0
fail() { echo "alsa-vm-test: FAILED: $*" >&2; failures=$((failures + 1)); }
note() { echo "alsa-vm-test: $*"; }

for tool in qemu-system-x86_64 busybox cpio depmod ldd apt-get apt-cache \
    dpkg-deb aconnect aseqdump xz gzip timeout; do
  command -v "$tool" >/dev/null || no_result "$tool is not installed (scripts/setup-deps.sh)"
done
busybox=$(command -v busybox)
ldd "$busybox" >/dev/null 2>&1 && no_result "$busybox is not static (install busybox-static)"

start=$(date +%s)
cmake --build "$build" --target alsa_vm_probe platform_midi_alsa_tests >/dev/null \
  || no_result "could not build the test programs in $build"
probe=$build/tests/alsa_vm_probe
unit_tests=$build/tests/platform_midi_alsa_tests

# The kernel: the versioned package behind linux-image-amd64, downloaded
# once (no root needed) and unpacked into the cache.
mkdir -p "$cache" || no_result "cannot create $cache"
package=$(apt-cache depends linux-image-amd64 2>/dev/null \
  | awk '$1 == "Depends:" && $2 ~ /^linux-image-[0-9]/ { print $2; exit }')
[ -n "$package" ] || no_result "apt knows no linux-image-amd64 (apt-get update?)"
abi=${package#linux-image-}
kernel_root=$cache/$package
if [ ! -d "$kernel_root/lib/modules/$abi" ]; then
  deb=$(ls "$cache/${package}"_*.deb 2>/dev/null | head -n 1)
  if [ -z "$deb" ]; then
    note "downloading $package"
    (cd "$cache" && apt-get download -q "$package" >/dev/null 2>&1) \
      || no_result "apt-get download $package failed"
    deb=$(ls "$cache/${package}"_*.deb | head -n 1)
  fi
  rm -rf "$kernel_root.part"
  dpkg-deb -x "$deb" "$kernel_root.part" || no_result "cannot unpack $deb"
  mv "$kernel_root.part" "$kernel_root"
fi
vmlinuz=$kernel_root/boot/vmlinuz-$abi
[ -f "$vmlinuz" ] || no_result "no kernel image in $package"

# Booting the uncompressed kernel saves seconds of emulated decompression
# (the kernel can start that way, CONFIG_PVH): find the compressed payload
# inside vmlinuz the way the kernel's extract-vmlinux does.
kernel=$cache/vmlinux-$abi
if [ ! -s "$kernel" ]; then
  for format in "xz:\xfd\x37\x7a\x58\x5a\x00" "gzip:\x1f\x8b\x08"; do
    tool=${format%%:*}
    magic=${format#*:}
    for offset in $(LC_ALL=C grep -obUaP "$magic" "$vmlinuz" | cut -d: -f1); do
      tail -c +$((offset + 1)) "$vmlinuz" | "$tool" -dc 2>/dev/null >"$kernel.part"
      if [ "$(head -c 4 "$kernel.part" | od -An -c | tr -d ' ')" = '177ELF' ]; then
        mv "$kernel.part" "$kernel"
        break 2
      fi
    done
  done
  rm -f "$kernel.part"
fi
[ -s "$kernel" ] || kernel=$vmlinuz

# The initramfs: busybox, the sequencer's modules, the test programs with
# their libraries and alsa-lib's configuration.
work=$(mktemp -d "${TMPDIR:-/tmp}/vantumidi-vm.XXXXXX") || no_result "no temp folder"
trap 'rm -rf "$work"' EXIT
initrd=$work/root
mkdir -p "$initrd"/{bin,dev,proc,sys,tmp,t,usr/share/alsa}
cp "$busybox" "$initrd/bin/busybox"
cp /usr/share/alsa/alsa.conf "$initrd/usr/share/alsa/"

module_dir=$initrd/lib/modules/$abi
mkdir -p "$module_dir"
for module in "${modules[@]}"; do
  pattern=$(echo "$module" | sed 's/[-_]/[-_]/g')
  file=$(find "$kernel_root/lib/modules/$abi/kernel/sound" -regextype posix-extended \
    -regex ".*/${pattern}\.ko(\.xz)?" | head -n 1)
  [ -n "$file" ] || no_result "module $module not in $package"
  case "$file" in
    *.xz) xz -dc "$file" >"$module_dir/$(basename "$file" .xz)" ;;
    *) cp "$file" "$module_dir/" ;;
  esac
done
cp "$kernel_root/lib/modules/$abi"/modules.{order,builtin,builtin.modinfo} "$module_dir/" 2>/dev/null
depmod -b "$initrd" "$abi" || no_result "depmod failed"

programs=("$(command -v aconnect)" "$(command -v aseqdump)" "$probe")
[ -x "$unit_tests" ] && programs+=("$unit_tests")
for program in "${programs[@]}"; do
  cp "$program" "$initrd/t/"
  for library in $(ldd "$program" | grep -o '/[^ ]*'); do
    mkdir -p "$initrd$(dirname "$library")"
    cp -L "$library" "$initrd$library"
  done
done

cat >"$initrd/init" <<'INIT'
#!/bin/busybox sh
/bin/busybox --install -s /bin
export PATH=/t:/bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mount -t tmpfs tmp /tmp
cd /tmp

# Waits (a bounded number of tenths of a second) until the command succeeds.
wait_for() {
  tries=$1
  shift
  while ! "$@" 2>/dev/null; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}
event_lines() { grep -c '^ *[0-9]*:[0-9]* ' dump.txt; }
enough_events() { [ "$(event_lines)" -ge "$1" ]; }

echo "=== modules ==="
# The sequencer's default timer is the high-resolution one.
for module in snd-hrtimer snd-seq-dummy snd-virmidi; do
  modprobe "$module" || echo "modprobe $module failed"
done
wait_for 50 test -e /dev/snd/seq || echo "no /dev/snd/seq"

if [ -x /t/platform_midi_alsa_tests ]; then
  echo "=== unit tests ==="
  GTEST_COLOR=no /t/platform_midi_alsa_tests 2>&1
  echo "unit tests rc=$?"
fi

alsa_vm_probe >probe.txt 2>&1 &
probe=$!
wait_for 600 grep -q '^ready' probe.txt
aconnect -l >aconnect.txt 2>&1
address=$(awk '/^client [0-9]+: .Vantu MIDI. / { client = $2; sub(":", "", client) }
  client != "" && /^ +[0-9]+ .Vantu MIDI OUT A./ { print client ":" $1; exit }' aconnect.txt)
if [ -n "$address" ]; then
  aseqdump -p "$address" >dump.txt 2>&1 &
  dump=$!
  wait_for 600 grep -q '^played' probe.txt
  expected=$(sed -n 's/^played //p' probe.txt)
  [ -n "$expected" ] && wait_for 600 enough_events "$expected"
  aconnect -l >aconnect-playing.txt 2>&1
  kill -INT "$dump"
  wait "$dump"
fi
probe_running() { kill -0 "$probe"; }
not_running() { ! probe_running; }
if wait_for 900 not_running; then
  wait "$probe"
  echo "probe rc=$?" >>probe.txt
else
  kill "$probe" 2>/dev/null
  echo "probe did not end" >>probe.txt
fi

for part in probe aconnect aconnect-playing dump; do
  echo "=== $part ==="
  cat "$part.txt" 2>/dev/null
done
echo "=== end ==="
poweroff -f
INIT
chmod +x "$initrd/init"
(cd "$initrd" && find . | cpio -o -H newc 2>/dev/null | gzip -1) >"$work/initrd.gz" \
  || no_result "cannot pack the initramfs"
prepared=$(date +%s)

note "booting $abi under qemu (timeout ${vm_timeout}s)"
console=$work/console.txt
timeout "$vm_timeout" qemu-system-x86_64 -accel tcg -cpu max -smp 2 -m 1024M \
  -nographic -no-reboot -nic none -kernel "$kernel" -initrd "$work/initrd.gz" \
  -append "console=ttyS0 panic=-1 quiet" </dev/null >"$console" 2>&1
qemu_status=$?
finished=$(date +%s)
tr -d '\r' <"$console" >"$console.clean"
if [ -n "${VANTUMIDI_VM_LOG:-}" ]; then
  cp "$console.clean" "$VANTUMIDI_VM_LOG"
fi
section() {
  awk -v want="=== $1 ===" '/^=== .* ===$/ { inside = ($0 == want); next } inside' "$console.clean"
}
if ! grep -q '^=== end ===$' "$console.clean"; then
  tail -n 30 "$console.clean" >&2
  [ "$qemu_status" -eq 124 ] && no_result "the machine did not finish within ${vm_timeout}s"
  no_result "the machine stopped without an answer (qemu status $qemu_status)"
fi

probe_out=$(section probe)
if grep -q '^no-sequencer' <<<"$probe_out"; then
  no_result "no sequencer in the machine: $(grep '^no-sequencer' <<<"$probe_out")"
fi

if [ -x "$unit_tests" ]; then
  section "unit tests" | grep -E '^\[  (PASSED|FAILED|  SKIPPED) ' | sed 's/^/  /'
  section "unit tests" | grep -q '^unit tests rc=0$' || fail "the bridge's unit tests failed in the machine"
fi

section aconnect | grep -q "'Vantu MIDI OUT A'" || fail "aconnect -l does not list Vantu MIDI OUT A"
section aconnect-playing | grep -A3 "'Vantu MIDI OUT A'" | grep -q -E 'Connect(ed|ing) To' \
  || fail "aconnect -l shows no subscription on Vantu MIDI OUT A while playing"
grep -q '^connected aseqdump' <<<"$probe_out" \
  || fail "aseqdump's subscription did not reach the roster as a connection"

# The song as aseqdump printed it, without the source column and with
# blanks collapsed, against what the probe said it sprayed.
received=$(section dump | grep -E '^ *[0-9]+:[0-9]+ ' \
  | sed -E 's/^ *[0-9]+:[0-9]+ +//; s/ +/ /g; s/ $//')
expected=$(sed -n 's/^expect //p' <<<"$probe_out")
count=$(grep -c . <<<"$expected")
if [ "$count" -eq 0 ]; then
  fail "the probe played nothing"
elif [ "$(head -n "$count" <<<"$received")" != "$expected" ]; then
  fail "the song did not arrive complete and in order"
  diff <(echo "$expected") <(head -n "$count" <<<"$received") | head -n 20 >&2
fi
tail_lines=$(tail -n +$((count + 1)) <<<"$received" \
  | grep -v -x -e 'Note on 9, note 42, velocity 100' -e 'Note off 9, note 42, velocity 64')
[ -z "$tail_lines" ] || fail "unexpected events after the song: $(head -n 3 <<<"$tail_lines")"

grep -q '^gone ' <<<"$probe_out" || fail "the vanished device was not withdrawn"
grep -q '^still connected' <<<"$probe_out" && fail "a withdrawn device stayed connected"
grep -q '^detached' <<<"$probe_out" || fail "the probe did not finish"
grep -q '^probe rc=0$' <<<"$probe_out" || fail "the probe failed: $(tail -n 2 <<<"$probe_out")"

note "prepared in $((prepared - start)) s, machine ran $((finished - prepared)) s;" \
  "$count song events checked; $(grep '^gone' <<<"$probe_out")"
if [ "$failures" -gt 0 ]; then
  echo "alsa-vm-test: FAILED ($failures checks)" >&2
  exit 1
fi
note "passed"
