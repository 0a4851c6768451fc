#!/usr/bin/env python3
"""Runs the real program in an X server with the desktop's accessibility bus and reads it as a
screen reader would: the names of the personal dialog's fields, the text of a message box, the
main window's display fields, and what a masked password field gives away while it is typed in.

    bus_check.py PROGRAM CREATE_TOOL

Exit status 0 when every check passed, 1 on the first failure, 77 (skipped) when the X server,
the session bus or the accessibility bus cannot be had here.
"""

import importlib.util
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
SECRET = "Hunter2Zq"


def skip(why):
    print(f"SKIP: {why}")
    sys.exit(SKIP)


def fail(why):
    print(f"FAIL: {why}")
    sys.exit(1)


FAULTS = []


def fault(why):
    """A failure after which the remaining checks still tell something."""
    print(f"FAIL: {why}")
    FAULTS.append(why)


class Run:
    """The processes this check starts, ended by their ids when it is over."""

    def __init__(self):
        self.work = tempfile.mkdtemp(prefix="corvanta-bus-")
        self.processes = []
        self.bus_pid = None

    def start(self, args, **kwargs):
        process = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   start_new_session=True, **kwargs)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                # Each was started in a session of its own: the group holds it and its helpers.
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
        if self.bus_pid:
            try:
                os.kill(self.bus_pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        shutil.rmtree(self.work, ignore_errors=True)


def until(what, timeout=15.0, pump=None):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if pump:
            pump(0.1)
        else:
            time.sleep(0.1)
        result = what()
        if result:
            return result
    return None


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    program, create = sys.argv[1], sys.argv[2]
    # The bindings come with the system's interpreter, which need not be the first on the path.
    system_python = "/usr/bin/python3"
    if importlib.util.find_spec("pyatspi") is None and os.path.realpath(sys.executable) != os.path.realpath(
            system_python) and os.access(system_python, os.X_OK):
        os.execv(system_python, [system_python, *sys.argv])
    for tool in ("Xvfb", "dbus-launch", "dbus-send", "xdotool", "openbox"):
        if shutil.which(tool) is None:
            skip(f"{tool} is not installed")
    launcher = "/usr/libexec/at-spi-bus-launcher"
    if not os.access(launcher, os.X_OK):
        skip("at-spi-bus-launcher is not installed (package at-spi2-core)")

    run = Run()
    try:
        return check(run, program, create, launcher)
    finally:
        run.close()


def check(run, program, create, launcher):
    prog = os.path.join(run.work, "prog")
    config = os.path.join(run.work, "config", "Corvanta")
    runtime = os.path.join(run.work, "runtime")
    os.makedirs(prog)
    os.makedirs(config)
    os.makedirs(runtime, mode=0o700)
    shutil.copy(program, os.path.join(prog, "corvanta"))
    if subprocess.run([create, os.path.join(prog, "Corvanta.cvd")]).returncode != 0:
        fail("could not create the data file")
    with open(os.path.join(config, "Corvanta.ini"), "w") as ini:
        ini.write("[Settings]\nSplashScreen=0\n")

    env = dict(os.environ)
    for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"):
        env.pop(name, None)
    env.update(XDG_CONFIG_HOME=os.path.join(run.work, "config"), XDG_RUNTIME_DIR=runtime)

    display = f":{170 + random.randrange(100)}"
    run.start(["Xvfb", display, "-screen", "0", "1280x800x24", "-nolisten", "tcp"], env=env)
    env["DISPLAY"] = display
    if not until(lambda: subprocess.run(["xdotool", "getmouselocation"], env=env, capture_output=True)
                 .returncode == 0, 10):
        skip("the X server did not start")
    run.start(["openbox"], env=env)

    launched = subprocess.run(["dbus-launch", "--sh-syntax"], env=env, capture_output=True, text=True)
    if launched.returncode != 0:
        skip("no session bus: " + launched.stderr.strip())
    for line in launched.stdout.splitlines():
        if "=" in line and line.startswith("DBUS_SESSION_BUS_"):
            name, value = line.split("=", 1)
            value = value.split(";")[0].strip("'")
            if name == "DBUS_SESSION_BUS_PID":
                run.bus_pid = int(value)
            else:
                env[name] = value
    if "DBUS_SESSION_BUS_ADDRESS" not in env:
        skip("dbus-launch gave no bus address")
    run.start([launcher, "--launch-immediately"], env=env)
    bus_up = until(lambda: subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
         "org.a11y.Bus.GetAddress"], env=env, capture_output=True).returncode == 0, 10)
    if not bus_up:
        skip("the accessibility bus did not start")

    # pyatspi finds the buses through the environment of this process.
    os.environ.update({k: env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
    try:
        import pyatspi
        from gi.repository import GLib
    except ImportError as error:
        skip(f"python3-pyatspi is not installed ({error})")

    context = GLib.MainContext.default()

    def pump(seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            while context.pending():
                context.iteration(False)
            time.sleep(0.02)

    carried = []

    def on_text(event):
        carried.append((event.type, str(event.any_data)))

    pyatspi.Registry.registerEventListener(on_text, "object:text-changed", "object:property-change:accessible-value",
                                           "object:property-change:accessible-name")

    env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb")
    app_process = run.start(["./corvanta"], env=env, cwd=prog)

    def application():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and (app.name or "").lower() == "corvanta":
                return app
        return None

    def descendants(node, depth=0):
        if node is None or depth > 30:
            return
        yield node
        for i in range(node.childCount):
            yield from descendants(node.getChildAtIndex(i), depth + 1)

    def window(title_part):
        app = application()
        if app is None:
            return None
        for i in range(app.childCount):
            top = app.getChildAtIndex(i)
            if top is not None and title_part in (top.name or ""):
                return top
        return None

    def key(*keys):
        subprocess.run(["xdotool", "key", "--delay", "80", *keys], env=env)
        pump(0.5)

    def type_text(text):
        subprocess.run(["xdotool", "type", "--delay", "60", text], env=env)
        pump(0.8)

    def text_of(node):
        try:
            return node.queryText().getText(0, -1)
        except NotImplementedError:
            return ""

    if until(application, 20, pump) is None:
        if app_process.poll() is not None:
            fail(f"the program ended at start (status {app_process.returncode})")
        fail("the program never appeared on the accessibility bus")

    # The personal dialog opens first on an empty data file.
    personal = until(lambda: window("Personal Information"), 20, pump)
    if personal is None:
        fail("the personal dialog did not reach the bus")
    names = {node.name for node in descendants(personal)}
    for expected in ("Name", "Address", "City", "State", "Zip Code", "Phone Number", "E-Mail Address", "OK",
                     "Cancel"):
        if expected not in names:
            fail(f"no control named '{expected}' in the personal dialog; the bus has {sorted(names)}")
    print("personal dialog: every field named on the bus")

    # Tab out of the empty name field: a message box says why the focus stays.
    key("Tab")
    message = until(lambda: window("Invalid"), 10, pump)
    if message is None:
        fail("the message box for an empty name did not reach the bus")
    said = " ".join((node.name or "") + " " + text_of(node) for node in descendants(message))
    if "Please enter a name." not in said:
        fail(f"the message box does not read 'Please enter a name.' on the bus: {said!r}")
    print("message box: its text reaches the bus")
    key("Return")
    until(lambda: window("Invalid") is None, 5, pump)

    # The listener hears what is typed in an ordinary field, so its silence below means something.
    carried.clear()
    type_text("Ann")
    if not any("Ann" in data or data == "n" for _, data in carried):
        fail(f"typing in the name field sent no text events: {carried}")
    key("Escape")

    main_window = until(lambda: window("Corvanta") if window("Personal Information") is None else None, 20, pump)
    if main_window is None:
        fail("the main window did not reach the bus")
    by_name = {}
    until(lambda: by_name.update({node.name: node for node in descendants(main_window) if node.name})
          or "Name of the user" in by_name, 10, pump)
    for expected in ("Name of the user", "Account number", "Password for the web account", "New Credit Card"):
        if expected not in by_name:
            fail(f"no control named '{expected}' in the main window; the bus has {sorted(by_name)}")
    field = by_name["Name of the user"]
    states = field.getState()
    if states.contains(pyatspi.STATE_EDITABLE) or not states.contains(pyatspi.STATE_READ_ONLY):
        fault("the main window's name field does not report itself read-only: "
             + ", ".join(pyatspi.stateToString(state) for state in states.getStates()))
    else:
        print("main window: display fields named by their help texts and read-only")

    # A web account whose password the main window then shows masked: the load must not carry
    # it to the bus. The dialog's password box shows its text in clear, so listening starts at OK.
    key("ctrl+w")
    if until(lambda: window("Web Account Information"), 10, pump) is None:
        fail("Ctrl+W did not open the web account dialog")
    type_text("Site")
    key("Tab", "Tab", "Tab", "Tab")
    type_text(SECRET)
    carried.clear()
    key("Return")
    if until(lambda: window("Web Account Information") is None, 10, pump) is None:
        fail("the web account dialog did not close on Enter")
    pump(1.5)
    shown = text_of(by_name["Password for the web account"])
    heard = [data for _, data in carried]
    if any(SECRET[i:i + 3] in text for text in heard + [shown] for i in range(len(SECRET) - 2)):
        fault(f"the masked web password reached the bus when the record was shown: {shown!r} {heard}")
    else:
        print(f"main window: the masked web password stays off the bus ({len(heard)} events heard)")

    # View > Mask Passwords off and on again, twice: the field stays readable, and masked it tells
    # how many characters it holds (as drawn) but none of them.
    def password_field():
        for node in descendants(main_window):
            try:
                if node.name == "Password for the web account":
                    return node
            except Exception:
                continue
        return None

    for turn in range(2):
        key("alt+v", "m")
        key("alt+v", "m")
        # As listed by its parent now, and as the reader met it before.
        for node in (until(password_field, 5, pump), by_name["Password for the web account"]):
            try:
                states = node.getState()
                count = node.queryText().characterCount
                drawn = node.queryText().getText(0, -1)
            except Exception as error:
                fail(f"after {2 * turn + 2} mask toggles the web password field answers: {error!r}")
            if not states.contains(pyatspi.STATE_SHOWING):
                fault(f"after the mask toggles the web password field is not showing: {states.getStates()}")
            if count != len(SECRET) or any(SECRET[i:i + 3] in drawn for i in range(len(SECRET) - 2)):
                fault(f"the masked web password should offer {len(SECRET)} drawn characters: {count} {drawn!r}")
    print("main window: the web password field answers after any number of mask toggles, with its length")

    # Find from the keyboard alone: the window, its box and its list named; a row says its page.
    key("ctrl+f")
    found = until(lambda: window("Find"), 10, pump)
    if found is None:
        fail("Ctrl+F did not open the Find window")
    type_text("sit")
    rows = until(lambda: [n.name for n in descendants(found) if "Web Accounts" in (n.name or "")], 10, pump)
    names = {node.name for node in descendants(found)}
    if not {"Find text", "Records found"} <= names or not rows:
        fail(f"the Find window's box, list or rows are not named on the bus: {sorted(names)}")
    key("Down", "Return")
    if until(lambda: window("Find") is None, 10, pump) is None:
        fail("Enter in the Find window's list did not close it")
    print(f"find: named on the bus, a row reads {rows[0]!r}")

    # A masked field: typed into from the keyboard, read and heard by the bus.
    key("alt+f", "p")
    change = until(lambda: window("Change Password"), 10, pump)
    if change is None:
        fail("File > Set Password did not open the change-password dialog from the keyboard")
    carried.clear()
    type_text(SECRET)
    fields = [node for node in descendants(change) if node.getRole() == pyatspi.ROLE_PASSWORD_TEXT]
    if not fields:
        fail("the password fields do not report themselves as password text")
    exposed = [text_of(node) for node in fields] + [node.name or "" for node in fields]
    exposed += [node.description or "" for node in fields] + [data for _, data in carried]
    for text in exposed:
        for start in range(len(SECRET) - 2):
            if SECRET[start:start + 3] in text:
                fail(f"the masked field gave away its secret on the bus: {text!r}")
    print(f"masked field: nothing of the secret on the bus ({len(carried)} events heard)")
    key("Escape")
    return 1 if FAULTS else 0


if __name__ == "__main__":
    sys.exit(main())
