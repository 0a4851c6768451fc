#!/usr/bin/env bash
# Drives the real program in a real X server as a person would: creates the personal record
# (its state typed through the field's filter, its zip typed and its phone number pasted into
# their masks),
# sets a password, quits, starts again with a wrong and then the right password, creates a web
# account (its password generated as the settings ask), vanishes to the tray, comes back through the password check (every password dialog
# refusing to be minimised), is minimised by the window manager and given back as a task bar does
# (with a tray and without), and exits from the tray menu. On the way it finds a web account by
# part of its login, copies its password into another program's text box and sees the clipboard
# emptied after the delay; a second copy is refused, a missing document told about, the lock of a
# killed copy taken over; the exit question's default is No. Then checks the data file through the engine. Screenshots of every step
# are kept in the folder given as the third argument.
#   real_window_test.sh PROGRAM DUMP_TOOL SHOT_DIR CREATE_TOOL PASTE_BOX
set -uo pipefail
program=$1 dump=$2 shots=$3 create=$4 pastebox=$5

for tool in Xvfb openbox trayer xdotool xprop import; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/deps.sh test installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
mkdir -p "$shots" "$work/prog" "$work/config/Corvanta" "$work/runtime"
chmod 700 "$work/runtime"
cp "$program" "$work/prog/corvanta"
"$create" "$work/prog/Corvanta.cvd" || exit 1
printf '[Settings]\nSplashScreen=0\nClipboardSeconds=3\nGeneratorLength=30\nGeneratorClasses=ul\n' > "$work/config/Corvanta/Corvanta.ini"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
# The server picks a display nobody else on the machine uses.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 & pids+=($!)
trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 & pids+=($!)
sleep 1

step=0
fail() {
    shot "failed"
    echo "FAIL: $*"
    exit 1
}
shot() {
    step=$((step + 1))
    import -window root "$shots/$(printf '%02d' $step)-$1.png" 2>/dev/null
}
# Waits for a visible window whose title matches; prints its id.
wait_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
focus() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" >/dev/null 2>&1
    sleep 0.3
}
# Answers with Enter the message that comes up in place of window $2, under the same title $1.
answer_message() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "$2" | tail -n 1)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "no message in place of the '$1' window"
    focus "$id"
    xdotool key Return
}
start() {
    (cd "$work/prog" && exec ./corvanta) & app=$!
    pids+=($app)
}
# A password dialog stays on screen: its hints ask for neither minimise nor maximise, and a
# minimise the window manager does all the same (it offers one regardless) is undone at once.
stays_on_screen() { # window id, title pattern, name
    local hints flags functions decorations
    hints=$(xprop -id "$1" _MOTIF_WM_HINTS _NET_WM_ALLOWED_ACTIONS) || fail "no hints on the $3"
    echo "$3: $hints" >>"$shots/password-dialog-hints.txt"
    read -r flags functions decorations _ < <(grep MOTIF <<<"$hints" | sed 's/.*= //; s/,/ /g')
    # Motif: functions without all (1), minimise (8), maximise (16); decorations likewise (1, 32, 64)
    ((flags & 3 && !(functions & 0x19) && !(decorations & 0x61))) || fail "the $3 offers more: $hints"
    xdotool windowminimize "$1"
    sleep 1
    xdotool search --onlyvisible --name "$2" | grep -qx "$1" || fail "the $3 stayed minimised"
    shot "$3-not-minimised"
}
tray_icon() { # the centre of the first icon the tray host holds
    local w
    for w in $(xdotool search --class trayer 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if [ "$WIDTH" -ge 16 ] && [ "$HEIGHT" -ge 16 ]; then
            echo "$((X + HEIGHT / 2)) $((Y + HEIGHT / 2))"
            return 0
        fi
    done
    return 1
}

# 1. First start: the personal record is asked for first.
"$pastebox" "+1 (800) 555-1234" >/dev/null 2>&1 & copied=$!   # what the phone number is pasted from
pids+=($copied)
wait_window '^Paste Box$' >/dev/null || fail "no paste box"
start
win=$(wait_window 'Personal Information') || fail "no personal dialog"
focus "$win"
xdotool type --delay 20 "Pat Example"
xdotool key Tab Tab Tab   # the state: upper-cased, digits refused, as the field's filter has it
xdotool type --delay 20 "n1yz"
xdotool key BackSpace Tab   # the zip's mask takes digits only; the phone keeps the digits pasted
xdotool type --delay 20 "0a2134"
xdotool key Tab ctrl+v
shot personal-dialog
xdotool key Return
main=$(wait_window '^ Corvanta$') || fail "no main window after the personal dialog"
kill "$copied" 2>/dev/null
focus "$main"
shot main-window

# 2. Set a password.
xdotool key alt+f
sleep 0.3
xdotool key p
win=$(wait_window 'Change Password') || fail "no change-password dialog"
stays_on_screen "$win" 'Change Password' change-password
focus "$win"
xdotool key Tab
xdotool type --delay 20 "s3cret pw"
xdotool key Tab
xdotool type --delay 20 "s3cret pw"
shot change-password
xdotool key Return
sleep 1
focus "$main"

# 3. Quit.
xdotool key alt+f
sleep 0.3
xdotool key x
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end"

# 4. Start again: a wrong password, then the right one.
start
win=$(wait_window 'Corvanta Password') || fail "no login dialog"
stays_on_screen "$win" 'Corvanta Password' login
focus "$win"
xdotool type --delay 20 "wrong"
xdotool key Return
sleep 1
shot wrong-password-message
xdotool key Return
sleep 1
win=$(wait_window 'Corvanta Password') || fail "no second login dialog"
focus "$win"
xdotool type --delay 20 "s3cret pw"
xdotool key Return
main=$(wait_window '^ Corvanta$') || fail "no main window after login"
focus "$main"
shot logged-in

# 4a. A second copy is refused with a word while the first runs, and ends.
(cd "$work/prog" && exec ./corvanta) & second=$!
pids+=($second)
win=$(wait_window 'Corvanta Error') || fail "no message for a second copy"
shot second-copy
focus "$win"
xdotool key Return
for _ in $(seq 50); do kill -0 "$second" 2>/dev/null || break; sleep 0.1; done
kill -0 "$second" 2>/dev/null && fail "the second copy did not end"
focus "$main"

# 4b. A document that is not there is told about, not opened.
xdotool key alt+h
sleep 0.3
xdotool key r
win=$(wait_window 'Corvanta Error') || fail "no message for the missing readme"
shot missing-readme
focus "$win"
xdotool key Return
sleep 0.5
focus "$main"

# 5. A web account.
xdotool key ctrl+w
win=$(wait_window 'Web Account') || fail "no web-account dialog"
focus "$win"
xdotool type --delay 20 "Example Site"
xdotool key alt+g
shot web-account-dialog
xdotool key Return
sleep 1
focus "$main"
shot web-account-saved

# 5b. A web account as people have them, typed with real keys: an e-mail address as the login,
#     symbols in the password, an address with its scheme in capitals. Saved, then opened again
#     from the page (the record the page shows, read back from the file) and saved untouched.
login='jo@x.com_P!1#'
password='R3tire^2045! <"q">&%'
address='HTTPS://mail.example.org/login?next=/inbox#top'
xdotool key ctrl+w
win=$(wait_window 'Web Account') || fail "no second web-account dialog"
focus "$win"
xdotool type --delay 20 "Mail & More"
xdotool key Tab Tab
xdotool type --delay 20 "$address"
xdotool key Tab
xdotool type --delay 20 "$login"
xdotool key Tab
xdotool type --delay 20 "$password"
shot web-account-symbols
xdotool key Return
sleep 1
focus "$main"
shot web-account-symbols-page
xdotool key alt+e
sleep 0.3
xdotool key i
win=$(wait_window 'Web Account') || fail "the page's web account did not open"
focus "$win"
shot web-account-read-back
xdotool key Return
sleep 1
focus "$main"

# 5c. Found by part of its login (the underscore taken literally), its password copied and pasted
#     into another program's text box; three seconds later ("ClipboardSeconds") nothing is left
#     to paste.
xdotool key ctrl+f
win=$(wait_window '^Find$') || fail "no Find window"
focus "$win"
xdotool type --delay 20 "x.com_p"
shot find-by-login
xdotool key Down Return
sleep 1
focus "$main"
shot found-by-login
xdotool key ctrl+shift+c
"$pastebox" > "$work/pasted" 2>/dev/null & pids+=($!)
box=$(wait_window '^Paste Box$') || fail "no paste box"
focus "$box"
xdotool key ctrl+v Return
sleep 0.5
shot pasted
[ "$(sed -n 1p "$work/pasted")" = "$password" ] || fail "pasted: '$(sed -n 1p "$work/pasted")', not the password"
sleep 3.5
focus "$box"
xdotool key ctrl+v Return
sleep 0.5
[ "$(sed -n 2p "$work/pasted")" = "" ] && [ "$(grep -c '' "$work/pasted")" -eq 2 ] ||
    fail "the clipboard still held: '$(sed -n 2p "$work/pasted")'"
kill "${pids[-1]}" 2>/dev/null
rm -f "$work/pasted"
focus "$main"

# 6. Lock on minimise, vanish to the tray and come back through the password check.
xdotool key alt+v
sleep 0.3
xdotool key l
sleep 0.5
xdotool mousemove --window "$main" 222 12 click 1
sleep 1
shot vanished
xdotool search --onlyvisible --name '^ Corvanta$' >/dev/null 2>&1 && fail "the window did not vanish"
read -r tx ty < <(tray_icon) || fail "no tray host"
xdotool mousemove "$tx" "$ty" click --repeat 2 --delay 80 1
win=$(wait_window 'Corvanta Password') || fail "no password check after the tray double click"
stays_on_screen "$win" 'Corvanta Password' password-check
focus "$win"
xdotool type --delay 20 "s3cret pw"
xdotool key Return
main=$(wait_window '^ Corvanta$') || fail "the window did not come back"
shot restored

# 6b. The window manager's own minimise locks as well: given back as a task bar does, the window
# stays covered until the password check passes; first with the tray, then with none.
minimise_and_restore() {
    xdotool windowminimize --sync "$main" || fail "the window manager did not minimise the window"
    sleep 1
    shot "minimised-$1"
    xdotool windowactivate "$main" >/dev/null 2>&1   # what a task bar button does
    win=$(wait_window 'Corvanta Password') || fail "no password check after a restore from the task bar ($1)"
    shot "restore-asks-$1"
    focus "$win"
    xdotool type --delay 20 "wrong"
    xdotool key Return
    answer_message 'Corvanta Password' "$win"   # "The password is incorrect."
    sleep 1
    # Minimised again: a window in the task bar is not mapped.
    xdotool search --onlyvisible --name '^ Corvanta$' >/dev/null 2>&1 && fail "a wrong password gave the window back ($1)"
    xdotool windowactivate "$main" >/dev/null 2>&1
    win=$(wait_window 'Corvanta Password') || fail "no second password check ($1)"
    focus "$win"
    xdotool type --delay 20 "s3cret pw"
    xdotool key Return
    sleep 1
    main=$(wait_window '^ Corvanta$') || fail "the right password left the window minimised ($1)"
    shot "restored-$1"
}
minimise_and_restore tray
kill "${pids[2]}" 2>/dev/null   # the tray host goes
sleep 3
minimise_and_restore "no-tray"
trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 & pids+=($!)
sleep 3
read -r tx ty < <(tray_icon) || fail "the icon did not come back to the new tray host"

# 7. Exit from the tray menu.
xdotool mousemove --window "$main" 222 12 click 1
sleep 1
xdotool mousemove "$tx" "$ty" click 3
sleep 1
shot tray-menu
xdotool key Up Up Return   # "Exit" sits above "Restore" at the bottom of the menu
sleep 1
shot exit-question
xdotool key Return   # No, the default
sleep 1
kill -0 "$app" 2>/dev/null || fail "Enter at the exit question ended the program"
xdotool mousemove "$tx" "$ty" click 3
sleep 1
xdotool key Up Up Return
sleep 1
xdotool key alt+y
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end from the tray menu"

# 7b. A copy killed outright leaves its lock file, which the next start takes over.
start
wait_window 'Corvanta Password' >/dev/null || fail "no login dialog for the copy to be killed"
kill -KILL "$app"
wait "$app" 2>/dev/null
start
win=$(wait_window 'Corvanta Password') || fail "the lock of a killed copy kept the next start out"
kill "$app"
wait "$app" 2>/dev/null

# 8. What the file holds.
"$dump" "$work/prog/Corvanta.cvd" "wrong" >/dev/null 2>&1
[ $? -eq 3 ] || fail "the data file opened with a wrong password"
content=$("$dump" "$work/prog/Corvanta.cvd" "s3cret pw") || fail "the data file does not open with its password"
grep -q '^\[Personal Information\]|.*Name=Pat Example' <<<"$content" || fail "personal record missing: $content"
grep -q '^\[Personal Information\]|.*|State=NY|Zip Code=02134|Phone Number=8005551234|' <<<"$content" ||
    fail "state, zip or phone not filtered as typed: $content"
grep -qE '^\[Web Accounts\]\|.*Web Site=Example Site\|.*\|Password=[A-Za-z]{30}\|' <<<"$content" ||
    fail "web account or its generated password missing: $content"
symbols=$(grep -F '|Web Site=Mail & More|' <<<"$content")
[ "$(grep -c . <<<"$symbols")" -eq 1 ] || fail "not one web account with symbols: $content"
grep -qF "|Login=$login|" <<<"$symbols" || fail "login not as typed: $symbols"
grep -qF "|Password=$password|" <<<"$symbols" || fail "password not as typed: $symbols"
grep -qF "|URL=$address|" <<<"$symbols" || fail "web address not as typed: $symbols"
# The password in plain text nowhere: data file, settings, runtime folder, program folder.
if grep -r -a -l -e 's3cret' "$work" 2>/dev/null | grep -v '/corvanta$'; then
    fail "the password is stored in plain text"
fi
echo "real window test: $step screenshots in $shots"
echo "1 passed, 0 failed"
