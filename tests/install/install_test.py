"""Installing for a desktop user into a PREFIX that holds other programs:
the installed command plays a song and saves its preferences in its own
folder, and uninstalling leaves PREFIX as it was."""
import hashlib
import os
import shutil
import subprocess
import tempfile
import unittest

import e2e_harness as e2e

SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts")


def snapshot(root):
    """Every entry below `root` with its link target or content digest."""
    entries = set()
    for folder, names, files in os.walk(root):
        for path in (os.path.join(folder, name) for name in names + files):
            if os.path.islink(path) or os.path.isdir(path):
                entries.add((os.path.relpath(path, root), os.path.islink(path) and os.readlink(path)))
            else:
                with open(path, "rb") as content:
                    entries.add((os.path.relpath(path, root), hashlib.md5(content.read()).hexdigest()))
    return entries


def run(*command):
    return subprocess.run(command, check=False, stdout=subprocess.DEVNULL).returncode


class Install(unittest.TestCase):
    def test_desktop_user_prefix_runs_saves_and_uninstalls_cleanly(self):
        work = tempfile.TemporaryDirectory()
        self.addCleanup(work.cleanup)
        # The user's prefix, with a blank in its path, holds another program
        # and the two caches a desktop keeps there.
        prefix = os.path.join(work.name, "home dir", ".local")
        os.makedirs(os.path.join(prefix, "bin"))
        os.makedirs(os.path.join(prefix, "share", "applications"))
        with open(os.path.join(prefix, "bin", "other"), "w") as other:
            other.write("#!/bin/sh\n")
        os.makedirs(os.path.join(prefix, "share", "icons", "hicolor", "48x48", "apps"))
        with open(os.path.join(prefix, "share", "applications", "other.desktop"), "w") as entry:
            entry.write("[Desktop Entry]\nType=Application\nName=Other\nExec=other %f\n"
                        "MimeType=text/x-other;\n")
        shutil.copy("/usr/share/icons/hicolor/index.theme", f"{prefix}/share/icons/hicolor")
        run("update-desktop-database", "-q", f"{prefix}/share/applications")
        run("gtk-update-icon-cache", "-q", "-t", f"{prefix}/share/icons/hicolor")
        before = snapshot(prefix)

        player = e2e.Player()
        self.addCleanup(player.stop)
        install = [os.path.join(SCRIPTS, "install.sh"), player.folder, prefix]
        self.assertEqual(run(*install), 0)
        self.assertEqual(run(*install), 0)  # an upgrade keeps the record of what it made
        app = os.path.join(prefix, "lib", "orvo-m")
        self.assertEqual(os.path.realpath(f"{prefix}/bin/orvo-m"), f"{app}/Orvo_M")
        self.assertEqual(run("desktop-file-validate", f"{prefix}/share/applications/orvo-m.desktop"), 0)
        self.assertTrue(os.path.getsize(f"{prefix}/share/icons/hicolor/48x48/apps/orvo-m.png"))
        with open(f"{prefix}/share/applications/mimeinfo.cache", encoding="utf-8") as cache:
            self.assertIn("orvo-m.desktop", cache.read())

        # Started the way a desktop does, through the link, from elsewhere.
        song = e2e.date_back(e2e.tone(work.name, "a tone.mp3", 523))
        elsewhere = os.path.join(work.name, "elsewhere")
        os.mkdir(elsewhere)
        player.start(song, cwd=elsewhere, executable=f"{prefix}/bin/orvo-m")
        pid = player.process.pid
        self.assertTrue(e2e.until(lambda: [b for b in e2e.bubbles()
                                           if b["summary"] == "Now playing song 1 of 1"]))
        self.assertIn(f"Inifile : {app}/orvo.ini", player.lines())
        e2e.click(pid, e2e.PLAYER, "Preferences")
        e2e.click(pid, "Preferences", "exit")
        self.assertTrue(e2e.until(lambda: os.path.exists(f"{app}/orvo.prefs")))
        e2e.close(e2e.window_of(pid))
        self.assertEqual(player.wait_exit(), 0, player.output())
        with open(f"{app}/orvo.ini", encoding="latin-1") as skin:
            self.assertIn("[player]\nwindowx = ", skin.read())
        self.assertEqual(os.listdir(elsewhere), [])

        uninstall = [os.path.join(SCRIPTS, "uninstall.sh"), prefix]
        self.assertEqual(run(*uninstall), 0)
        # What the program wrote itself stays, with the folders holding it.
        kept = ("lib", "lib/orvo-m", "lib/orvo-m/orvo.prefs")
        self.assertEqual({entry for entry in snapshot(prefix) if entry[0] not in kept}, before)
        self.assertEqual(run(*uninstall), 0)

        fresh = os.path.join(work.name, "fresh prefix")
        self.assertEqual(run(os.path.join(SCRIPTS, "install.sh"), player.folder, fresh), 0)
        self.assertTrue(os.path.getsize(f"{fresh}/share/applications/mimeinfo.cache"))
        self.assertEqual(run(os.path.join(SCRIPTS, "uninstall.sh"), fresh), 0)
        self.assertEqual(snapshot(fresh), set())


if __name__ == "__main__":
    unittest.main()
