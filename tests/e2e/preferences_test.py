"""The preferences window, driven through the accessibility bus while a
repeating playlist plays inside it: it sets the player aside, saves beside
the executable and closes at once; a skin chosen there restarts the player
with the playlist, named absolute, and the skin, or, when the program cannot
start, keeps this player and says why."""
import os
import pathlib
import struct
import tempfile
import unittest

import e2e_harness as e2e

SAVED = ("repeat = 1\ninstantplay = 0\nstart_with_last_playlist = 0\nstart_minimized = 0\n"
         "randomplay = 1\ncycle_title = 1\ncycle_time = 1\nask_on_exit = 0\nstay_top = 0\n"
         "stay_bottom = 0\nuse_wm_decorations = 0\nuse_last_skin = \n")


class Preferences(unittest.TestCase):
    def test_saved_beside_program_and_skin_change_restarts(self):
        player = e2e.Player({"orvo.prefs": "cycle_time = 25\nlast_one = /gone/list.m3u\n"})
        self.addCleanup(player.stop)
        song = e2e.date_back(e2e.tone(player.folder, "tone.wav", 660, 1.0))
        elsewhere = tempfile.TemporaryDirectory()
        self.addCleanup(elsewhere.cleanup)
        playlist = os.path.join(elsewhere.name, "my list.m3u")
        pathlib.Path(playlist).write_text(song + "\n")
        # Named from the working folder, which the restart leaves.
        player.start("./my list.m3u", cwd=elsewhere.name)
        pid = player.process.pid
        self.assertTrue(e2e.wait_bubble("the current Playlist is finished...."), player.output())
        window = e2e.window_of(pid)
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", e2e.window_state(window))
        aside = lambda: "_NET_WM_STATE_HIDDEN" in e2e.window_state(window)

        e2e.click(pid, e2e.PLAYER, "Preferences")
        self.assertTrue(e2e.until(aside))
        speed = e2e.widget(pid, "Preferences", (e2e.pyatspi.ROLE_TEXT,))
        self.assertEqual(speed.queryText().getText(0, -1), "10")  # 25 read, clamped
        e2e.click(pid, "Preferences", "Repeat playlist")
        e2e.click(pid, "Preferences", "Random Play")
        e2e.set_text(pid, "Preferences", "0")
        # Playback started now runs inside the window's loop, repeating.
        e2e.click(pid, e2e.PLAYER, "Play")
        self.assertTrue(e2e.until(lambda: player.output().count(f"0 *** {song}") >= 3))

        def display():  # the song's description, turned a character a tick
            text = e2e.label(pid, e2e.PLAYER)
            return "tone.wav" in text + text and text
        first = e2e.until(display)
        self.assertTrue(first and e2e.until(lambda: display() not in (first, False)), first)

        e2e.click(pid, "Preferences", "exit")
        self.assertTrue(e2e.until(lambda: not e2e.tops(pid, "Preferences")))
        self.assertTrue(e2e.until(lambda: player.read("orvo.prefs") == SAVED),
                        player.read("orvo.prefs"))
        self.assertTrue(e2e.until(lambda: not aside()))

        def choose_vertical():
            e2e.click(pid, e2e.PLAYER, "Preferences")
            e2e.select(pid, "Preferences", "vertical.ini")
            e2e.click(pid, "Preferences", "exit")
        os.rename(player.file("Orvo_M"), player.file("gone"))
        choose_vertical()
        self.assertEqual(e2e.label(pid, "Error"), f"Could not start {player.file('Orvo_M')} "
                         "with the new skin: No such file or directory")
        e2e.click(pid, "Error", "OK")
        self.assertTrue(e2e.until(lambda: not e2e.tops(pid, "Error") and not aside()))
        os.rename(player.file("gone"), player.file("Orvo_M"))
        # Still on its old skin, so the same choice is a change again.
        choose_vertical()
        self.assertEqual(player.wait_exit(), 0, player.output())
        self.assertEqual(player.read("orvo.prefs"), SAVED)
        successor = e2e.until(lambda: {pid: argv for pid, argv in e2e.command_lines().items()
                                       if argv[:1] == [player.file("Orvo_M")]})
        self.assertEqual(list(successor.values()),
                         [[player.file("Orvo_M"), playlist, "vertical.ini"]])
        successor = list(successor)[0]
        self.assertEqual(os.readlink(f"/proc/{successor}/cwd"), player.folder)
        self.assertTrue(player.wait_line(f"Inifile : {player.file('vertical.ini')}"))
        with open(player.file("vertical.png"), "rb") as skin:
            size = struct.unpack(">II", skin.read(24)[16:24])
        window = e2e.window_of(successor)
        geometry = lambda: window.get_geometry()
        self.assertTrue(e2e.until(lambda: (geometry().width, geometry().height) == size), size)

        e2e.close(window)
        self.assertTrue(e2e.until(lambda: not e2e.command_lines().get(successor)), player.output())
        self.assertEqual(player.read("orvo.prefs"), SAVED + f"last_one = {playlist}\n")
        self.assertIn("[player]\nwindowx = ", player.read("vertical.ini"))
        self.assertEqual(os.listdir(elsewhere.name), ["my list.m3u"])


if __name__ == "__main__":
    unittest.main()
