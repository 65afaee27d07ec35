"""The real Orvo_M run inside scripts/testenv.sh and watched the way a user
sees it: diagnostics on standard output, the bubbles the notification
recorder logged, the sound at the null sink, X windows, and widgets over the
accessibility bus. Needs /usr/bin/python3 (pyatspi, python3-xlib) and
ORVO_BIN_DIR, the built program folder."""
import array
import json
import os
import pathlib
import shutil
import signal
import subprocess
import tempfile
import time

import pyatspi
from Xlib import X, display, protocol

ICON = "/usr/share/icons/gnome/scalable/mimetypes/audio-x-generic.svg"
PLAYER = "Orvo M "
RATE = 44100
BUTTONS = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX)
_x = display.Display()


def until(condition, timeout=20.0):
    """Polls `condition` until it gives something true and returns that (what
    it last gave after `timeout` seconds). Raising counts as not yet: widgets
    and windows go away under a walk."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = condition()
        except Exception:  # pylint: disable=broad-except
            value = None
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.05)


class Player:
    """A private copy of the program folder, so that a test puts its own
    preferences, skins and playlists beside the executable, and the program
    started from it, in a session of its own (that a restarted program stays
    in) with standard output and error in one file."""

    def __init__(self, files=None):
        self.folder = tempfile.mkdtemp(prefix="orvo-e2e-")
        shutil.copytree(os.environ["ORVO_BIN_DIR"], self.folder, dirs_exist_ok=True)
        for name, text in (files or {}).items():
            self.write(name, text)
        self.process = None
        self._output = tempfile.TemporaryFile()

    def file(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, text):
        path = pathlib.Path(self.file(name))
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, "latin-1")
        return str(path)

    def read(self, name):
        path = pathlib.Path(self.file(name))
        return path.read_text("latin-1") if path.exists() else None

    def start(self, *args, cwd=None, executable=None, env=None):
        self.process = subprocess.Popen(
            [executable or self.file("Orvo_M"), *args], cwd=cwd or self.folder,
            stdin=subprocess.DEVNULL, stdout=self._output, stderr=subprocess.STDOUT,
            env={**os.environ, "GTK_MODULES": "gail:atk-bridge", **(env or {})},
            start_new_session=True)

    def stop(self):
        """Ends the program and any program it restarted; removes the folder."""
        if self.process:
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)
        self._output.close()

    def output(self):
        fd = self._output.fileno()  # pread keeps the program's write offset
        return os.pread(fd, os.fstat(fd).st_size, 0).decode("latin-1")

    def lines(self):
        return self.output().splitlines()

    def wait_line(self, line, timeout=20.0):
        return until(lambda: line in self.lines(), timeout)

    def wait_exit(self, timeout=20.0):
        """The exit status, or None while the program still runs."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None


def _windows(pid):
    """The X windows of process `pid`, frames and tray looked through."""
    stack = [_x.screen().root]
    while stack:
        window = stack.pop()
        owner = window.get_full_property(_x.intern_atom("_NET_WM_PID"), X.AnyPropertyType)
        if owner and owner.value[0] == pid:
            yield window
        stack.extend(window.query_tree().children)


def window_of(pid, title=PLAYER):
    return until(lambda: next(w for w in _windows(pid) if w.get_wm_name() == title))


def in_tray(pid):
    """Whether a window of `pid` is embedded (XEmbed) as a status icon is."""
    embed = _x.intern_atom("_XEMBED_INFO")
    return until(lambda: any(w.get_full_property(embed, X.AnyPropertyType) for w in _windows(pid)))


def close(window):
    """The window manager's close: WM_DELETE_WINDOW, not destroying it."""
    window.send_event(protocol.event.ClientMessage(
        window=window, client_type=_x.intern_atom("WM_PROTOCOLS"),
        data=(32, [_x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
    _x.flush()


def window_state(window):
    """The names in the window's _NET_WM_STATE (set by a window manager)."""
    state = window.get_full_property(_x.intern_atom("_NET_WM_STATE"), X.AnyPropertyType)
    return {_x.get_atom_name(atom) for atom in (state.value if state else [])}


def bubbles(method="Notify"):
    """The calls the notification recorder logged, oldest first."""
    with open(os.environ["ORVO_TEST_NOTIFY_LOG"], encoding="utf-8") as log:
        lines = log.read().split("\n")[:-1]  # the last one may be half written
    return [call for call in map(json.loads, lines) if call["method"] == method]


def wait_bubble(body, timeout=30.0):
    return until(lambda: [b for b in bubbles() if b["body"] == body], timeout)


def tone(folder, name, hertz, seconds=1.5):
    """Makes `name` (.wav, .mp3, .ogg or .mpc) in `folder`: a sine tone,
    44100 Hz stereo, amplitude 0.5."""
    path = os.path.join(folder, name)
    wav = path if name.endswith(".wav") else path + ".wav"
    subprocess.run(["sox", "-n", "-r", str(RATE), "-c", "2", "-b", "16", wav, "synth",
                    str(seconds), "sine", str(hertz), "vol", "0.5"], check=True)
    encoder = {"mp3": ["lame", "--quiet", wav, path], "ogg": ["oggenc", "-Q", "-o", path, wav],
               "mpc": ["mpcenc", "--silent", wav, path]}.get(name.rsplit(".", 1)[1].lower())
    if encoder:
        subprocess.run(encoder, check=True)
        os.remove(wav)
    return path


def command_lines():
    """The argument vectors of the processes, by PID (empty once ended)."""
    found = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            found[int(pid)] = pathlib.Path("/proc", pid, "cmdline").read_text("latin-1")
        except OSError:
            continue
    return {pid: text.split("\0")[:-1] for pid, text in found.items()}


def date_back(path):
    """libxine takes a file changed in the last seconds for one still being
    written and waits at its end."""
    os.utime(path, (time.time() - 3600,) * 2)
    return path


class Recording:
    """What plays into the null sink, recorded through its monitor. A silent
    stream keeps the sink running meanwhile: an idle null sink hands its
    monitor nothing, and a song's start would be lost."""

    def __init__(self):
        sink = os.environ.get("ORVO_TEST_SINK", "null")
        raw = ["--format=s16le", f"--rate={RATE}", "--channels=2"]
        self._file = tempfile.TemporaryFile()
        self._keeper = subprocess.Popen(["pacat", "--playback", "-d", sink, *raw, "/dev/zero"])
        self._recorder = subprocess.Popen(["parec", "-d", sink + ".monitor",
                                           "--latency-msec=20", *raw], stdout=self._file)
        until(lambda: os.fstat(self._file.fileno()).st_size > 0)

    def tones(self):
        """Ends the recording; the tones of its left channel in order, as
        (hertz, seconds, rms): 100 ms stretches with sound, each merged into
        the tone before when within 5 % of it, also across a gap."""
        for process in (self._recorder, self._keeper):
            process.terminate()
            process.wait()
        self._file.seek(0)
        samples = array.array("h", self._file.read())[0::2]
        found = []  # [rising crossings, stretches, sum of squares]
        for start in range(0, len(samples) - RATE // 10 + 1, RATE // 10):
            part = samples[start:start + RATE // 10]
            if max(map(abs, part)) >= 3000:
                rising = sum(1 for a, b in zip(part, part[1:]) if a < 0 <= b)
                mean = found[-1][0] / found[-1][1] if found else 0
                if abs(mean - rising) > mean / 20 or not found:
                    found.append([0, 0, 0])
                found[-1] = [found[-1][0] + rising, found[-1][1] + 1,
                             found[-1][2] + sum(s * s for s in part)]
        return [(10 * c / n, n / 10, (squares / n / (RATE // 10)) ** 0.5 / 32768)
                for c, n, squares in found]


def tops(pid, title):
    """The windows of process `pid` titled `title` as the accessibility bus
    names them (a message dialog by its kind: "Question", "Warning")."""
    return [top for app in pyatspi.Registry.getDesktop(0)
            if app is not None and app.get_process_id() == pid
            for top in app if top is not None and top.name == title]


def widget(pid, window, role, name=None, index=0):
    """The index-th widget of `role` (named `name`) in `window`, once there."""
    def find():
        found = [found for top in tops(pid, window) for found in pyatspi.findAllDescendants(
            top, lambda a: a.getRole() in role and name in (None, a.name))]
        return found[index] if len(found) > index else None
    found = until(find)
    assert found, f'no {name or role} in the window "{window}"'
    return found


def click(pid, window, name):
    assert widget(pid, window, BUTTONS, name).queryAction().doAction(0), name


def label(pid, window):
    return widget(pid, window, (pyatspi.ROLE_LABEL,)).queryText().getText(0, -1)


def set_text(pid, window, text):
    assert widget(pid, window, (pyatspi.ROLE_TEXT,)).queryEditableText().setTextContents(text)


def select(pid, window, entry):
    """Makes `entry` the choice of the drop-down list offering it."""
    combo = widget(pid, window, (pyatspi.ROLE_COMBO_BOX,))
    entries = [item.name for item in combo[0]]
    assert entry in entries, entries
    assert combo.querySelection().selectChild(entries.index(entry)), entry
    assert until(lambda: combo.name == entry), combo.name
