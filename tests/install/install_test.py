"""Installing for a desktop user into a PREFIX that holds other programs:
the installed command plays a song and keeps its preferences and window
position in its own folder, and uninstalling leaves PREFIX as it was."""
import hashlib
import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

import e2e_harness as e2e

SCRIPTS = pathlib.Path(__file__).resolve().parents[2] / "scripts"


def snapshot(root):
    """Every entry below `root` with its link target or content digest."""
    return {(str(path.relative_to(root)), os.readlink(path) if path.is_symlink() else
             path.is_file() and hashlib.md5(path.read_bytes()).hexdigest())
            for path in pathlib.Path(root).rglob("*")}


def run(*command):
    return subprocess.run(command, check=False, stdout=subprocess.DEVNULL).returncode


class Install(unittest.TestCase):
    def test_desktop_user_prefix_runs_saves_and_uninstalls_cleanly(self):
        work = tempfile.TemporaryDirectory()
        self.addCleanup(work.cleanup)
        # The user's prefix, with a blank in its path, holds another program
        # and the two caches a desktop keeps there.
        prefix = pathlib.Path(work.name, "home dir", ".local")
        for name, text in (("bin/other", "#!/bin/sh\n"), ("share/applications/other.desktop",
                           "[Desktop Entry]\nType=Application\nName=Other\nExec=other %f\n"
                           "MimeType=text/x-other;\n")):
            (prefix / name).parent.mkdir(parents=True, exist_ok=True)
            (prefix / name).write_text(text)
        (prefix / "share/icons/hicolor/48x48/apps").mkdir(parents=True)
        shutil.copy("/usr/share/icons/hicolor/index.theme", prefix / "share/icons/hicolor")
        run("update-desktop-database", "-q", prefix / "share/applications")
        run("gtk-update-icon-cache", "-q", "-t", prefix / "share/icons/hicolor")
        before = snapshot(prefix)

        player = e2e.Player()
        self.addCleanup(player.stop)
        self.assertEqual(run(SCRIPTS / "install.sh", player.folder, prefix), 0)
        # Again, as an upgrade: the record of what was made must survive.
        self.assertEqual(run(SCRIPTS / "install.sh", player.folder, prefix), 0)
        app = prefix / "lib/orvo-m"
        self.assertEqual((prefix / "bin/orvo-m").resolve(), app / "Orvo_M")
        entry = prefix / "share/applications/orvo-m.desktop"
        self.assertEqual(run("desktop-file-validate", entry), 0)
        self.assertTrue((prefix / "share/icons/hicolor/48x48/apps/orvo-m.png").stat().st_size)
        self.assertIn("orvo-m.desktop", (prefix / "share/applications/mimeinfo.cache").read_text())

        # Started the way a desktop does: through the link, from elsewhere.
        song = e2e.date_back(e2e.tone(work.name, "a tone.mp3", 523))
        elsewhere = pathlib.Path(work.name, "elsewhere")
        elsewhere.mkdir()
        player.start(song, cwd=elsewhere, executable=prefix / "bin/orvo-m")
        pid = player.process.pid
        self.assertTrue(e2e.until(lambda: [b for b in e2e.bubbles()
                                           if b["summary"] == "Now playing song 1 of 1"]))
        self.assertIn(f"Inifile : {app}/orvo.ini", player.lines())
        e2e.click(pid, e2e.PLAYER, "Preferences")
        e2e.click(pid, "Preferences", "exit")
        self.assertTrue(e2e.until((app / "orvo.prefs").exists))
        e2e.close(e2e.window_of(pid))
        self.assertEqual(player.wait_exit(), 0, player.output())
        self.assertIn("[player]\nwindowx = ", (app / "orvo.ini").read_text("latin-1"))
        self.assertEqual(list(elsewhere.iterdir()), [])

        self.assertEqual(run(SCRIPTS / "uninstall.sh", prefix), 0)
        # What the program wrote itself stays, with the folders holding it.
        kept = ("lib", "lib/orvo-m", "lib/orvo-m/orvo.prefs")
        self.assertEqual({entry for entry in snapshot(prefix) if entry[0] not in kept}, before)
        self.assertEqual(run(SCRIPTS / "uninstall.sh", prefix), 0)

        fresh = pathlib.Path(work.name, "fresh prefix")
        self.assertEqual(run(SCRIPTS / "install.sh", player.folder, fresh), 0)
        self.assertTrue((fresh / "share/applications/mimeinfo.cache").stat().st_size)
        self.assertEqual(run(SCRIPTS / "uninstall.sh", fresh), 0)
        self.assertEqual(snapshot(fresh), set())


if __name__ == "__main__":
    unittest.main()
