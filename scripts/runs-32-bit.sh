#!/usr/bin/env bash
# Exits with 0 when this machine's kernel runs 32-bit x86 programs (and so can run 32-bit Wine
# and the 32-bit files that ship), with another code when it does not. It runs a tiny i386
# program that only exits; some kernels are built without 32-bit support ("Exec format error").
set -u
probe="$(mktemp /tmp/vantrel-i386-probe.XXXXXX)"
trap 'rm -f "$probe"' EXIT
# A 91-byte ELF32 executable for i386: the ELF header, one loadable segment at 0x08048000, and
# the code at 0x08048054: xor ebx,ebx; xor eax,eax; inc eax; int 0x80 (exit(0)).
printf '%b' \
  '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
  '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
  '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
  '\x00\x00\x00\x00' \
  '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
  '\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
  '\x31\xdb\x31\xc0\x40\xcd\x80' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
