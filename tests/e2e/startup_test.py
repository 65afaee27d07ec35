"""Starting the player: its usage text; its status icon; a playlist named on
the command line, announced, tried and given up with the warning; quitting
through the window manager, which records the playlist and the window
position beside the program, so that the next start resumes the playlist;
files of a terabyte read as unreadable ones."""
import os
import pathlib
import subprocess
import tempfile
import unittest

import e2e_harness as e2e


class Startup(unittest.TestCase):
    def test_help_prints_the_usage_and_ends(self):
        player = e2e.Player()
        self.addCleanup(player.stop)
        player.start("--help", "list.m3u")
        self.assertEqual(player.wait_exit(), 0)
        hyphens = "-" * 52
        self.assertEqual(player.lines(), [
            "INIT complete", "----", " ", hyphens, "Orvo M - Orvo Media Player",
            "Usage: Orvo_M [playlist.m3u [ini-file.ini [music-file(s)]]] ",
            "Use playlist, inifile and music-files in any combination", "and order ",
            "Specify a path if they are not in the same directory", "as the executable ",
            hyphens, "if you specify music-tracks (mp3, mpc, wav, ogg)",
            "a given playlist is ignored!", hyphens, " "])

    def test_a_screen_without_an_alpha_channel_is_named_in_a_box_before_the_window(self):
        ready, told = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-extension", "Composite"],
                                  pass_fds=[told], stderr=subprocess.DEVNULL)
        self.addCleanup(server.wait)
        self.addCleanup(server.terminate)
        os.close(told)
        player = e2e.Player()
        self.addCleanup(player.stop)
        player.start(env={"DISPLAY": ":" + os.read(ready, 16).decode().strip()})
        pid = player.process.pid
        box = "No Alpha Support"
        self.assertEqual(e2e.label(pid, box), "Your Screen doesn't support an alpha channel...")
        self.assertFalse(e2e.tops(pid, e2e.PLAYER))
        e2e.click(pid, box, "OK")
        self.assertTrue(e2e.until(lambda: e2e.tops(pid, e2e.PLAYER) and not e2e.tops(pid, box)))

    def test_playlist_given_up_recorded_at_quit_and_resumed(self):
        player = e2e.Player({"orvo.prefs": "start_with_last_playlist = 1\n",
                             "list.m3u": "/nowhere/a.mp3\r\n\r\n/nowhere/b.ogg\n/nowhere/c.wav"})
        self.addCleanup(player.stop)
        elsewhere = tempfile.TemporaryDirectory()
        self.addCleanup(elsewhere.cleanup)
        # The working folder may hold an orvo.ini that is none of the player's.
        unrelated = pathlib.Path(elsewhere.name, "orvo.ini")
        unrelated.write_bytes(b"[player]\r\nwindowx=1\r\n")
        # A bare name means the program's folder, not the working folder.
        player.start("list.m3u", cwd=elsewhere.name)
        pid = player.process.pid
        self.assertEqual(e2e.label(pid, "Warning"), "Could Not play a song (may they do Not exist)")
        self.assertEqual(player.lines(), [
            "INIT complete", "----", "starting main", f"Inifile : {player.file('orvo.ini')}",
            f"playerskin : {player.file('skin.png')}", "main finished ",
            f"Playlist: {player.file('list.m3u')}", "Ready ... starting ...."])
        count = ("current Playlist", "there are  3 files in the current Playlist", 5000,
                 e2e.ICON, 1, player.file("Orvo_M"))
        self.assertEqual([(b["summary"], b["body"], b["expire_timeout"], b["icon"], b["urgency"],
                           b["app_name"]) for b in e2e.bubbles()], [count])
        self.assertTrue(e2e.in_tray(pid))
        e2e.click(pid, "Warning", "OK")
        # Until the dialog has gone, its grab keeps the close request away.
        self.assertTrue(e2e.until(lambda: not e2e.tops(pid, "Warning")))
        # The preferences leave the skin named bare, which still means the one
        # beside the program.
        e2e.click(pid, e2e.PLAYER, "Preferences")
        e2e.click(pid, "Preferences", "exit")
        self.assertTrue(e2e.until(lambda: not e2e.tops(pid, "Preferences")))

        e2e.close(e2e.window_of(pid))
        self.assertEqual(player.wait_exit(), 0, player.output())
        prefs = player.read("orvo.prefs")
        self.assertIn("\nstart_with_last_playlist = 1\n", prefs)
        self.assertTrue(prefs.endswith(f"\nlast_one = {player.file('list.m3u')}\n"), prefs)
        skin = player.read("orvo.ini")
        self.assertIn("[player]\nwindowx = 60\nwindowy = 60\n", skin)  # where the skin put it
        self.assertNotIn("\n\n", skin)  # written back in the normalised form
        self.assertEqual(os.listdir(elsewhere.name), ["orvo.ini"])
        self.assertEqual(unrelated.read_bytes(), b"[player]\r\nwindowx=1\r\n")

        player.start()
        self.assertTrue(player.wait_line(f"Playlist: {player.file('list.m3u')}"), player.output())
        self.assertTrue(e2e.until(lambda: len(e2e.bubbles()) == 2), e2e.bubbles())
        e2e.close(e2e.window_of(player.process.pid))
        self.assertEqual(player.wait_exit(), 0, player.output())

        # Nothing but a terabyte of holes: the player starts on the defaults
        # with an empty playlist (no count bubble), quits and leaves them be.
        big = [player.file(name) for name in ("orvo.prefs", "orvo.ini", "list.m3u")]
        for path in big:
            os.truncate(path, 1 << 40)
        player.start("list.m3u")
        window = e2e.window_of(player.process.pid)
        self.assertTrue(window, player.output())
        e2e.close(window)
        self.assertEqual(player.wait_exit(), 0, player.output())
        self.assertEqual(player.lines().count("Ready ... starting ...."), 3)
        self.assertEqual(len(e2e.bubbles()), 2)
        self.assertEqual({os.path.getsize(path) for path in big}, {1 << 40})


if __name__ == "__main__":
    unittest.main()
