"""Songs named on the command line: they replace the playlist named there,
each format sounds its tone at the sink in turn, each is announced, the end
of the playlist too; quitting then offers to save the unsaved playlist."""
import subprocess
import tempfile
import unittest

import e2e_harness as e2e


def texts(bubbles):
    return [(b["summary"], b["body"], b["expire_timeout"]) for b in bubbles]


class Playback(unittest.TestCase):
    def test_songs_play_in_turn_and_quit_saves_them(self):
        player = e2e.Player({"orvo.prefs": "ask_on_exit = 1\n", "list.m3u": "/nowhere/x.mp3\n"})
        self.addCleanup(player.stop)
        music = tempfile.TemporaryDirectory()
        self.addCleanup(music.cleanup)
        songs = [e2e.tone(music.name, name, hertz) for name, hertz in
                 (("tagged.mp3", 440), ("b.ogg", 550), ("plain & simple.wav", 660), ("d.MPC", 880))]
        # A Latin-1 artist, as ID3v1/ID3v2.3 tags hold it.
        subprocess.run([b"id3v2", b"-a", b"Caf\xe9 Band", b"-t", b"First Song", b"-A", b"Album",
                        songs[0].encode()], check=True)
        for song in songs:
            e2e.date_back(song)
        recording = e2e.Recording()
        player.start("list.m3u", *songs)
        pid = player.process.pid
        finished = e2e.wait_bubble("the current Playlist is finished....", 60)
        tones = recording.tones()
        self.assertTrue(finished, player.output())

        heard = [(hertz, seconds, rms) for hertz, seconds, rms in tones if seconds >= 0.5]
        self.assertEqual(len(heard), 4, tones)
        for (hertz, seconds, rms), wanted in zip(heard, (440, 550, 660, 880)):
            self.assertAlmostEqual(hertz, wanted, delta=wanted * 0.03)
            self.assertGreaterEqual(seconds, 1.3)
            self.assertGreater(rms, 0.3)  # the tone's 0.35, not attenuated

        shown = e2e.bubbles()
        self.assertEqual(texts(shown), [
            ("current Playlist", "there are  4 files in the current Playlist", 5000),
            ("Now playing song 1 of 4", "Caf\xe9 Band \nFirst Song \nAlbum \n", 8000),
            ("Now playing song 2 of 4", songs[1] + "\n", 8000),
            ("Now playing song 3 of 4", music.name + "/plain + simple.wav\n", 8000),
            ("Now playing song 4 of 4", songs[3] + "\n", 8000),
            ("current Playlist", "the current Playlist is finished....", 3000)])
        self.assertEqual({(b["app_name"], b["icon"], b["urgency"]) for b in shown},
                         {(player.file("Orvo_M"), e2e.ICON, 1)})
        # Each song's bubble goes before the next one's comes.
        self.assertEqual([c["id"] for c in e2e.bubbles("CloseNotification")][:3],
                         [b["id"] for b in shown[1:4]])
        self.assertIn("Playlist: ", player.lines())
        for index, song in enumerate(songs):
            self.assertIn(f"{index} *** {song}\n{'-' * 67}\n", player.output())

        e2e.close(e2e.window_of(pid))
        self.assertEqual(e2e.label(pid, "Question"),
                         "Unsaved Playlist... would you like to save it now?")
        e2e.click(pid, "Question", "Yes")
        e2e.set_text(pid, "save Playlist as", "party")
        e2e.click(pid, "save Playlist as", "Save")
        self.assertEqual(player.wait_exit(), 0, player.output())
        self.assertEqual(player.read("party.m3u"), "".join(song + "\n" for song in songs))
        self.assertEqual(player.read("orvo.prefs"),
                         f"ask_on_exit = 1\nlast_one = {player.file('party.m3u')}\n")
        self.assertEqual(texts(e2e.bubbles()[6:]),
                         [("Saved", "there were 4 files saved in the Playlist", 3000)])


if __name__ == "__main__":
    unittest.main()
