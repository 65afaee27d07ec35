#!/usr/bin/python3
"""Soak: the real Orvo_M plays many short songs (0.2 s of WAV, Ogg Vorbis,
MP3 and Musepack) from a playlist in repeat into the null sink of a private
desktop (scripts/testenv.sh). Every 100 songs it samples the player's
resident memory (VmRSS), open descriptors, threads and the files in the
player's private TMPDIR, then prints the table and whether each stayed flat
after the first 100 songs. At each sample the song files are dated now, so
that the songs of the next seconds play from the engine's private copies
(the ones written moments ago) and the others directly. Quits the player at
the end through the window manager's close and reports its exit status.

    bench/soak.py [BUILD_DIR] [SONGS] [FILES]     (defaults: build 1000 250)

SONGS songs are played from a playlist of FILES song files. Takes about
0.25 s a song. The exit status is 1 when a figure grew or the player failed.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
STEP = 100
# Memory may settle by a page here and there; a leak of a kilobyte a song
# would show as 900 KiB over 900 songs.
RSS_SLACK_KIB = 256


def sample(pid, tmp):
    """(VmRSS in KiB, open descriptors, threads, files under `tmp`)."""
    with open(f"/proc/{pid}/status", encoding="latin-1") as status:
        rss = int(re.search(r"^VmRSS:\s+(\d+)", status.read(), re.M).group(1))
    files = sum(len(names) for _, _, names in os.walk(tmp))
    return (rss, len(os.listdir(f"/proc/{pid}/fd")), len(os.listdir(f"/proc/{pid}/task")), files)


def make_songs(e2e, folder, count):
    """`count` song files in `folder`, the four formats in turn, each a
    0.2 s tone of its own pitch; copies of one made per format."""
    formats = ("wav", "ogg", "mp3", "mpc")
    made = {kind: e2e.tone(folder, f"tone.{kind}", 400 + 100 * i, 0.2)
            for i, kind in enumerate(formats)}
    songs = []
    for index in range(count):
        kind = formats[index % len(formats)]
        songs.append(os.path.join(folder, f"song {index:04}.{kind}"))
        shutil.copyfile(made[kind], songs[-1])
    for path in made.values():
        os.remove(path)
    return songs


def soak(build, songs, files):
    os.environ["ORVO_BIN_DIR"] = os.path.join(build, "bin")
    sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
    import e2e_harness as e2e  # pylint: disable=import-outside-toplevel

    music = tempfile.mkdtemp(prefix="orvo-soak-music-")
    tmp = tempfile.mkdtemp(prefix="orvo-soak-tmp-")
    player = e2e.Player({"orvo.prefs": "repeat = 1\n"})
    try:
        paths = make_songs(e2e, music, files)
        player.write("soak.m3u", "".join(path + "\n" for path in paths))
        # Without the accessibility bridge, as most desktops run it.
        player.start("soak.m3u", env={"TMPDIR": tmp, "GTK_MODULES": ""})
        pid = player.process.pid
        started = time.monotonic()
        rows, mark, last_count, last_change = [], STEP, 0, started
        while mark <= songs:
            count = len(re.findall(r"(?m)^\d+ \*\*\* ", player.output()))
            now = time.monotonic()
            if count != last_count:
                last_count, last_change = count, now
            if player.process.poll() is not None or now - last_change > 60:
                print(f"the player stopped after {count} songs "
                      f"(status {player.process.poll()}):\n{player.output()[-2000:]}")
                return 1
            if count >= mark:
                rows.append((count, now - started, *sample(pid, tmp)))
                for path in paths:
                    os.utime(path)
                mark += STEP
            else:
                time.sleep(0.05)
        e2e.close(e2e.window_of(pid))
        status = player.wait_exit(30)
        left = sum(len(names) for _, _, names in os.walk(tmp))
    finally:
        player.stop()
        shutil.rmtree(music, ignore_errors=True)
        shutil.rmtree(tmp, ignore_errors=True)

    print(f"{songs} songs from a playlist of {files} in repeat, sampled every {STEP}:")
    print(f"{'songs':>6} {'seconds':>8} {'VmRSS KiB':>10} {'fds':>5} {'threads':>8} {'tmp files':>10}")
    for row in rows:
        print(f"{row[0]:>6} {row[1]:>8.1f} {row[2]:>10} {row[3]:>5} {row[4]:>8} {row[5]:>10}")
    flat = True
    for column, name, slack in ((2, "VmRSS KiB", RSS_SLACK_KIB), (3, "descriptors", 0),
                                (4, "threads", 0), (5, "TMPDIR files", 0)):
        growth = rows[-1][column] - rows[0][column]
        peak = max(row[column] for row in rows[1:]) - rows[0][column] if len(rows) > 1 else 0
        verdict = "flat" if growth <= slack else "GROWS"
        flat = flat and growth <= slack
        print(f"{name:>13}: {growth:+} after the first {STEP} songs (highest {peak:+}): {verdict}")
    print(f"quit through the window manager: exit status {status}, {left} files left in TMPDIR")
    print(f"{songs / rows[-1][1]:.1f} songs a second")
    return 0 if flat and status == 0 and left == 0 else 1


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    songs = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    files = int(sys.argv[3]) if len(sys.argv) > 3 else 250
    if not os.environ.get("ORVO_BENCH_INSIDE"):
        # A private desktop with its sound server's null sink.
        os.environ["ORVO_BENCH_INSIDE"] = "1"
        return subprocess.call([os.path.join(ROOT, "scripts", "testenv.sh"), "--all", "--",
                                "/usr/bin/python3", os.path.abspath(__file__), build, str(songs),
                                str(files)])
    return soak(build, songs, files)


if __name__ == "__main__":
    sys.exit(main())
