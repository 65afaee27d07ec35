"""Starting the player: its usage text; its status icon; a playlist named on
the command line, announced, tried and given up with the warning; quitting
through the window manager, which records the playlist and the window
position, so that the next start resumes the playlist."""
import os
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

    def test_playlist_given_up_recorded_at_quit_and_resumed(self):
        player = e2e.Player({"orvo.prefs": "start_with_last_playlist = 1\n",
                             "list.m3u": "/nowhere/a.mp3\r\n\r\n/nowhere/b.ogg\n/nowhere/c.wav"})
        self.addCleanup(player.stop)
        elsewhere = tempfile.TemporaryDirectory()
        self.addCleanup(elsewhere.cleanup)
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

        e2e.close(e2e.window_of(pid))
        self.assertEqual(player.wait_exit(), 0, player.output())
        self.assertEqual(player.read("orvo.prefs"),
                         f"start_with_last_playlist = 1\nlast_one = {player.file('list.m3u')}\n")
        skin = player.read("orvo.ini")
        self.assertRegex(skin, r"\[player\]\nwindowx = \d+\nwindowy = \d+\n")
        self.assertNotIn("\n\n", skin)  # written back in the normalised form
        self.assertEqual(os.listdir(elsewhere.name), [])

        player.start()
        self.assertTrue(player.wait_line(f"Playlist: {player.file('list.m3u')}"), player.output())
        self.assertTrue(e2e.until(lambda: len(e2e.bubbles()) == 2), e2e.bubbles())


if __name__ == "__main__":
    unittest.main()
