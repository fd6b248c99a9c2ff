#!/usr/bin/env bash
# vantrel-open as the desktop's handler of the four link schemes: installed with
# `cmake --install`, made the default with xdg-mime, started by xdg-open in a private HOME
# and XDG tree; the "browser" ($BROWSER) records the address it was given.
#   open_test.sh BUILD_DIR
set -u
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

prefix="$work/home/.local"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL cmake --install"; exit 1; }

# A desktop of our own: nothing of the machine's own configuration or applications counts.
export HOME="$work/home"
export XDG_DATA_HOME="$prefix/share" XDG_CONFIG_HOME="$HOME/.config"
export XDG_DATA_DIRS="$work/none" XDG_CONFIG_DIRS="$work/none"
export DISPLAY=:0  # xdg-open's generic mode asks for a display before it uses scheme handlers
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION \
  GNOME_DESKTOP_SESSION_ID MATE_DESKTOP_SESSION_ID WAYLAND_DISPLAY
mkdir -p "$XDG_CONFIG_HOME" "$work/bin"
cat >"$work/bin/record-browser" <<RECORD
#!/bin/sh
printf '%s\n' "\$1" >>"$work/browser.log"
RECORD
cat >"$work/bin/notify-send" <<RECORD
#!/bin/sh
printf '%s\n' "\$*" >>"$work/notify.log"
RECORD
chmod +x "$work/bin/record-browser" "$work/bin/notify-send"
export BROWSER="$work/bin/record-browser"
export PATH="$work/bin:$PATH"

fail() {
  echo "FAIL $1"
  failures=$((failures + 1))
}

desktop="$XDG_DATA_HOME/applications/vantrel-open.desktop"
grep -qx 'MimeType=x-scheme-handler/thunder;x-scheme-handler/flashget;x-scheme-handler/qqdl;x-scheme-handler/fs2you;' \
  "$desktop" || fail "MimeType line of $desktop"
grep -qx "Exec=$prefix/bin/vantrel-open %u" "$desktop" || fail "Exec line of $desktop"

for scheme in thunder flashget qqdl fs2you; do
  xdg-mime default vantrel-open.desktop "x-scheme-handler/$scheme"
  got="$(xdg-mime query default "x-scheme-handler/$scheme")"
  [ "$got" = vantrel-open.desktop ] || fail "xdg-mime default for $scheme: '$got'"
done

b64() { printf '%s' "$1" | base64 -w0; }

# expect_opened NAME LINK ADDRESS [OPENER]: OPENER (xdg-open) LINK hands exactly ADDRESS to the
# browser.
expect_opened() {
  rm -f "$work/browser.log"
  "${4:-xdg-open}" "$2" >"$work/out" 2>&1
  local status=$?
  local got
  got="$(cat "$work/browser.log" 2>/dev/null)"
  if [ "$status" -ne 0 ] || [ "$got" != "$3" ]; then
    fail "$1: xdg-open status $status, browser got '$got', expected '$3' ($(cat "$work/out"))"
  else
    echo "ok   $1"
  fi
}

expect_opened "thunder" "thunder://$(b64 'AAhttp://example.com/a.zipZZ')" 'http://example.com/a.zip'
expect_opened "flashget with the browser's slash" \
  "flashget://$(b64 '[FLASHGET]http://example.com/b.zip[FLASHGET]')&k=1/" 'http://example.com/b.zip'
expect_opened "qqdl, UTF-8 name as ASCII" "qqdl://$(b64 'https://example.com/中文 1.zip')" \
  'https://example.com/%E4%B8%AD%E6%96%87%201.zip'
# xdg-utils 1.1.3 takes a scheme name with a digit for a file name when no desktop environment
# runs (its generic mode), so fs2you:// links reach the handler only from a real desktop. The
# handler itself is started as the desktop would start it.
expect_opened "fs2you, percent-encoded" "fs2you://$(b64 'example.com/c.rar|1' | sed 's/=/%3D/g')" \
  'http://example.com/c.rar' "$prefix/bin/vantrel-open"

# expect_refused NAME LINK MESSAGE: vantrel-open LINK opens nothing, says MESSAGE, exit 2.
expect_refused() {
  rm -f "$work/browser.log" "$work/notify.log"
  "$prefix/bin/vantrel-open" "$2" >"$work/out" 2>"$work/err"
  local status=$?
  if [ "$status" -ne 2 ] || [ -e "$work/browser.log" ] || ! grep -qF -- "$3" "$work/err" ||
    ! grep -qF -- "$3" "$work/notify.log" 2>/dev/null; then
    fail "$1: status $status, stderr '$(cat "$work/err")', notified '$(cat "$work/notify.log" 2>/dev/null)'"
  else
    echo "ok   $1"
  fi
}

expect_refused "not a link" 'http://example.com/a.zip' '格式错误！请输入正确的地址！'
expect_refused "a link to a local file" "thunder://$(b64 'AAfile:///etc/passwdZZ')" \
  'not a web address: file:///etc/passwd'
expect_refused "a link to a path" "qqdl://$(b64 '/usr/bin/xterm')" 'not a web address: /usr/bin/xterm'
expect_refused "a link to an option" "qqdl://$(b64 '--help')" 'not a web address: --help'
expect_refused "a scheme name without a separator" "qqdl://$(b64 'http')" 'not a web address: http'

"$prefix/bin/vantrel-open" >/dev/null 2>&1
status=$?
if [ "$status" -eq 64 ]; then echo "ok   usage"; else fail "usage: status $status"; fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
