"""The desktop's media controls: playerctl and gdbus speak MPRIS to the player
over the private session bus, and what they change is read back where a user
meets it: the sound at the sink, the bubbles, the display, the bus's own
change signals; their quit runs the shutdown steps. Without its bus name the
player plays on and says so once."""
import os
import re
import subprocess
import tempfile
import time
import unittest

import e2e_harness as e2e

PAUSED = "-- PAUSED --"
TAKEN = "Media controls off: org.mpris.MediaPlayer2.orvo_m has another owner"


def ask(*argv):
    """What a tool printed (UTF-8), without the last line feed."""
    return subprocess.run(argv, stdout=subprocess.PIPE, check=False).stdout.decode().rstrip("\n")


def playerctl(*command):
    return ask("playerctl", "-p", "orvo_m", *command)


def status_becomes(status):
    return e2e.until(lambda: playerctl("status") == status)


def song_bubbles():
    return [b["summary"] for b in e2e.bubbles() if b["summary"].startswith("Now playing")]


def shows(pid, text):
    """Whether the display shows `text`, turned by any number of characters."""
    shown = e2e.label(pid, e2e.PLAYER)
    return len(shown) == len(text) and shown in text * 2


class MediaControls(unittest.TestCase):
    def test_playerctl_presses_the_buttons_and_follows_the_song_until_quit(self):
        music = tempfile.TemporaryDirectory()
        self.addCleanup(music.cleanup)
        first, second = (e2e.tone(music.name, name, hertz, 20)
                         for name, hertz in (("first.mp3", 500), ("second.wav", 700)))
        subprocess.run([b"id3v2", b"-a", b"Caf\xe9 & Band", b"-t", b"First <Song>", b"-A", b"Album",
                        first.encode()], check=True)
        for song in (first, second):
            e2e.date_back(song)
        player = e2e.Player({"orvo.prefs": "repeat = 0\n", "songs.m3u": f"{first}\n{second}\n"})
        self.addCleanup(player.stop)
        signals = tempfile.TemporaryFile()
        self.addCleanup(signals.close)
        monitor = subprocess.Popen(["dbus-monitor", "--session", "member='PropertiesChanged'"],
                                   stdout=signals)
        self.addCleanup(monitor.wait)
        self.addCleanup(monitor.terminate)
        e2e.until(lambda: os.fstat(signals.fileno()).st_size)  # listening
        # A notification server that parses markup in bodies takes over from the recorder.
        ready = os.path.join(music.name, "ready")
        server = subprocess.Popen(["/usr/bin/python3", e2e.RECORDER, os.environ["ORVO_TEST_NOTIFY_LOG"],
                                   ready, "--capabilities", "body,body-markup", "--replace"])
        self.addCleanup(server.wait)
        self.addCleanup(server.terminate)
        self.assertTrue(e2e.until(lambda: os.path.exists(ready)))
        recording = e2e.Recording()
        player.start("songs.m3u")
        pid = player.process.pid
        self.assertTrue(e2e.until(song_bubbles), player.output())
        self.assertEqual(e2e.bubbles()[-1]["body"], "Caf\xe9 &amp; Band \nFirst &lt;Song&gt; \nAlbum \n")
        self.assertEqual(ask("playerctl", "-l"), "orvo_m")
        # The tag's Latin-1 artist arrives as UTF-8.
        self.assertEqual(playerctl("metadata", "--format",
                                   "{{xesam:title}}|{{xesam:artist}}|{{xesam:album}}|{{xesam:url}}"),
                         f"First <Song>|Caf\u00e9 & Band|Album|file://{first}")

        playerctl("next")
        self.assertTrue(e2e.until(lambda: len(song_bubbles()) == 2), player.output())
        time.sleep(1)  # heard at the sink meanwhile
        self.assertEqual(playerctl("metadata", "--format", "{{xesam:title}}|{{xesam:artist}}"),
                         "second.wav|")
        # The engine knows a WAV song's length.
        self.assertAlmostEqual(int(playerctl("metadata", "mpris:length")), 20_000_000, delta=500_000)
        playerctl("pause")
        self.assertTrue(status_becomes("Paused"))
        self.assertTrue(e2e.until(lambda: shows(pid, PAUSED)))
        playerctl("play")
        self.assertTrue(status_becomes("Playing"))
        # Resumed, not started again: the display is back on the second song.
        self.assertTrue(e2e.until(lambda: "second.wav" in e2e.label(pid, e2e.PLAYER) * 2))

        # Stop ends the pass that would go on with the second song; play then
        # starts a new pass from the top.
        playerctl("previous")
        self.assertTrue(e2e.until(lambda: len(song_bubbles()) == 3), player.output())
        playerctl("stop")
        self.assertTrue(status_becomes("Stopped"))
        self.assertEqual(playerctl("metadata", "mpris:trackid"),
                         "'/org/mpris/MediaPlayer2/TrackList/NoTrack'")
        playerctl("play")
        self.assertTrue(e2e.until(lambda: len(song_bubbles()) == 4), player.output())
        self.assertEqual(song_bubbles(), [f"Now playing song {n} of 2" for n in (1, 2, 1, 1)])
        time.sleep(1)

        ask("gdbus", "call", "--session", "--dest", "org.mpris.MediaPlayer2.orvo_m",
            "--object-path", "/org/mpris/MediaPlayer2", "--method", "org.mpris.MediaPlayer2.Quit")
        self.assertEqual(player.wait_exit(), 0, player.output())
        self.assertIn(f"last_one = {player.file('songs.m3u')}\n", player.read("orvo.prefs"))
        tones = recording.tones()
        heard = [round(hertz, -2) for hertz, seconds, _ in tones if seconds >= 0.5]
        self.assertEqual(heard[-2:], [700, 500], tones)
        # Each change was announced on the bus as it happened.
        signals.seek(0)
        changes = ['"second.wav"', '"Paused"', '"Playing"', '"First <Song>"', '"Stopped"', '"Playing"']
        self.assertRegex(signals.read().decode(), re.compile(".*".join(changes), re.S))

    def test_without_its_bus_name_the_player_plays_on_and_says_so_once(self):
        owner = e2e.Player()
        self.addCleanup(owner.stop)
        owner.start()
        self.assertTrue(e2e.until(lambda: ask("playerctl", "-l") == "orvo_m"), owner.output())
        song = e2e.date_back(e2e.tone(owner.folder, "tone.wav", 600, 1.0))
        # A file URI opened from the bus is answered, then played like a song on the command line.
        self.assertEqual(ask("gdbus", "call", "--session", "--timeout", "10", "--dest",
                             "org.mpris.MediaPlayer2.orvo_m", "--object-path", "/org/mpris/MediaPlayer2",
                             "--method", "org.mpris.MediaPlayer2.Player.OpenUri", f"file://{song}"), "()")
        self.assertTrue(owner.wait_line(f"0 *** {song}"), owner.output())
        for environment, said in (({}, TAKEN), ({"DBUS_SESSION_BUS_ADDRESS": "unix:path=/no/bus"},
                                                "Media controls off: no session bus")):
            with self.subTest(said):
                player = e2e.Player()
                self.addCleanup(player.stop)
                player.start(song, env=environment)
                self.assertTrue(player.wait_line(f"0 *** {song}"), player.output())
                self.assertTrue(player.wait_line(said), player.output())
                self.assertEqual([line for line in player.lines() if "Media controls" in line],
                                 [said])


if __name__ == "__main__":
    unittest.main()
