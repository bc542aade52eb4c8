#!/usr/bin/python3
"""The strip plays the adhan through a real sound server and stops it.

A private PulseAudio server with a null sink, a private session bus with
python3-dbusmock's notification daemon, a generated Ogg file as the adhan,
and the staged strip started three seconds before a prayer's minute. The
stream must reach the sink within the minute's first five seconds and leave
it within two seconds of a stop: Stop() over the bus, or the notification's
"stop" action. A reminder and the iqama reach the daemon with the times
`orvano-cli times --json` gives for them; a reminder sound, when one is
chosen, reaches the sink at the reminder's minute and stops likewise.

Usage: adhan_playback_test.py STAGE_PREFIX TEST_DATA_DIR
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

SKIP = 77
STAGE = sys.argv[1] if len(sys.argv) > 1 else ""
DATA = sys.argv[2] if len(sys.argv) > 2 else ""
DATE = "2026-12-07"
TOOLS = ["pulseaudio", "pactl", "gst-launch-1.0", "gdbus", "dbus-daemon"]

try:
    import dbus
    import dbusmock
except ImportError as missing:  # pragma: no cover - only without python3-dbusmock
    print(f"SKIP: {missing} (install python3-dbusmock: tools/install-deps)")
    sys.exit(SKIP)

absent = [tool for tool in TOOLS if shutil.which(tool) is None]
if absent:
    print(f"SKIP: {', '.join(absent)} not installed (tools/install-deps installs them)")
    sys.exit(SKIP)


def hex_text(text):
    return "hex:" + ",".join(f"{b:02x}" for b in text.encode())


def wait_until(predicate, seconds, step=0.05):
    """The time at which predicate() first held, or None after `seconds`."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if predicate():
            return time.monotonic()
        time.sleep(step)
    return None


class AdhanPlayback(dbusmock.DBusTestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="orvano-adhan-")
        cls.env = dict(os.environ)
        cls.env.update({
            "HOME": cls.tmp,
            "XDG_CONFIG_HOME": f"{cls.tmp}/cfg",
            "XDG_DATA_HOME": f"{cls.tmp}/data",
            "XDG_STATE_HOME": f"{cls.tmp}/state",
            "XDG_RUNTIME_DIR": f"{cls.tmp}/run",
            # One plug-in registry, made by the encoder run below, so that the
            # strip does not scan every plug-in while its minute runs.
            "GST_REGISTRY": f"{cls.tmp}/gst-registry.bin",
            "PULSE_SERVER": f"unix:{cls.tmp}/pulse/native",
            "QT_QPA_PLATFORM": "offscreen",
        })
        for folder in ("cfg/orvano", "data", "state", "run", "pulse"):
            os.makedirs(f"{cls.tmp}/{folder}", mode=0o700, exist_ok=True)
        shutil.copy(f"{DATA}/today_paris.cfg", f"{cls.tmp}/cfg/orvano/data.cfg")
        cls.adhan = f"{cls.tmp}/adhan.ogg"
        # 40 s of a tone, long enough to outlast each case.
        subprocess.run(["gst-launch-1.0", "-q", "audiotestsrc", "num-buffers=1800", "!",
                        "audioconvert", "!", "vorbisenc", "!", "oggmux", "!", "filesink",
                        f"location={cls.adhan}"], env=cls.env, check=True, timeout=120)
        cls.pulse = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--disable-shm=yes", "--log-target=stderr", "--log-level=error",
             "-L", "module-null-sink sink_name=orvano_test",
             "-L", f"module-native-protocol-unix auth-anonymous=1 socket={cls.tmp}/pulse/native"],
            env=dict(cls.env, PULSE_RUNTIME_PATH=f"{cls.tmp}/pulse"),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if wait_until(lambda: cls.pactl("info") is not None, 20) is None:
            raise RuntimeError("the private PulseAudio server did not start")
        cls.start_session_bus()
        cls.env["DBUS_SESSION_BUS_ADDRESS"] = os.environ["DBUS_SESSION_BUS_ADDRESS"]
        cls.notifyd, cls.notify = cls.spawn_server_template("notification_daemon", {},
                                                            stdout=subprocess.DEVNULL)
        times = subprocess.run([f"{STAGE}/bin/orvano-cli", "times", "--config",
                                f"{cls.tmp}/cfg/orvano/data.cfg", "--date", DATE, "--json"],
                               env=cls.env, check=True, capture_output=True, text=True)
        cls.text = json.loads(times.stdout)["text"]

    @classmethod
    def tearDownClass(cls):
        cls.notifyd.terminate()
        cls.notifyd.wait()
        cls.pulse.terminate()
        cls.pulse.wait()
        super().tearDownClass()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    @classmethod
    def pactl(cls, *args):
        done = subprocess.run(["pactl", *args], env=cls.env, capture_output=True, text=True)
        return done.stdout if done.returncode == 0 else None

    def sink_inputs(self):
        """The streams playing on the null sink, one line each."""
        return [line for line in (self.pactl("list", "short", "sink-inputs") or "").splitlines()
                if line.strip()]

    def write_settings(self, switch, extra=""):
        with open(f"{self.tmp}/cfg/orvano/settings.ini", "w", encoding="utf-8") as out:
            out.write("[Software\\Microsoft\\Today\\Items\\Orvano]\n"
                      f"{switch}=hex:01\n"
                      "[Adhan]\n"
                      f"File={hex_text(self.adhan)}\n"
                      f"Volume={hex_text('60')}\n" + extra)

    def start_strip(self, clock_text, lead=3):
        """The strip with its clock `lead` seconds before `clock_text`'s minute."""
        hour, minute = (int(part) for part in clock_text.split(":"))
        before = hour * 3600 + minute * 60 - lead
        start = f"{DATE} {before // 3600:02d}:{before // 60 % 60:02d}:{before % 60:02d}"
        self.trace = f"{self.tmp}/trace-{clock_text.replace(':', '')}"
        strip = subprocess.Popen(
            [f"{STAGE}/bin/orvano-today", "--time", start, "--query-interval", "250",
             "--trace", self.trace, "--exit-after", "60000"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return strip, time.monotonic() + lead

    @staticmethod
    def end(strip):
        strip.send_signal(signal.SIGTERM)
        strip.wait(10)

    def traced(self, line):
        try:
            with open(self.trace, encoding="utf-8") as text:
                return line in text.read().splitlines()
        except FileNotFoundError:
            return False

    def notify_calls(self):
        return [call for call in self.notify.GetCalls(dbus_interface=dbusmock.MOCK_IFACE)
                if call[1] == "Notify"]

    def stop_over_bus(self):
        subprocess.run(["gdbus", "call", "--session", "--dest", "org.orvano.Orvano.Today",
                        "--object-path", "/org/orvano/Orvano/Today",
                        "--method", "org.orvano.Orvano.Today.Stop"],
                       env=self.env, check=True, capture_output=True, timeout=10)

    def stop_from_notification(self):
        calls = self.notify_calls()
        offered = [i for i, call in enumerate(calls, start=1) if "stop" in list(call[2][5])]
        self.assertTrue(offered, "no notification offered a stop action")
        # The daemon numbers its notifications from 1 in the order it gets them.
        self.notify.EmitSignal("org.freedesktop.Notifications", "ActionInvoked", "us",
                               [dbus.UInt32(offered[-1]), "stop"],
                               dbus_interface=dbusmock.MOCK_IFACE)

    def test_the_adhan_reaches_the_sink_and_stops(self):
        cases = [
            # prayer, its column in `text`, its alarm switch, how it is stopped, trace
            ("asr", 3, "AlarmAsr", self.stop_over_bus, "adhan stopped (dbus)"),
            ("maghrib", 4, "AlarmMaghrib", self.stop_from_notification,
             "adhan stopped (notification)"),
        ]
        for prayer, column, switch, stop, why in cases:
            with self.subTest(prayer=prayer):
                self.write_settings(switch)
                clock_text = self.text[column]
                strip, minute_starts = self.start_strip(clock_text)
                try:
                    self.play_and_stop(prayer, clock_text, minute_starts, stop, why)
                finally:
                    self.end(strip)

    def play_and_stop(self, prayer, clock_text, minute_starts, stop, why):
        self.assertIsNotNone(wait_until(lambda: self.traced("bus name owned"), 15),
                             "the strip never owned its bus name")
        playing = wait_until(lambda: self.sink_inputs(), 20)
        self.assertIsNotNone(playing, "no stream reached the sink")
        self.assertLessEqual(playing - minute_starts, 5.0)
        self.assertTrue(self.traced(f"prayer-time {prayer} {clock_text}"))
        # The stream stays while nothing stops it.
        time.sleep(1)
        self.assertTrue(self.sink_inputs())
        if stop == self.stop_from_notification:
            wait_until(lambda: any("stop" in list(c[2][5]) for c in self.notify_calls()),
                       10)
        asked = time.monotonic()
        stop()
        gone = wait_until(lambda: not self.sink_inputs(), 5)
        self.assertIsNotNone(gone, "the stream stayed on the sink")
        self.assertLessEqual(gone - asked, 2.0)
        self.assertTrue(wait_until(lambda: self.traced(why), 5))

    def notified(self, summary):
        """The body of the first notification titled `summary`, or None."""
        for call in self.notify_calls():
            if str(call[2][3]) == summary:
                return str(call[2][4])
        return None

    def test_reminder_and_iqama_reach_the_notifications(self):
        self.write_settings("AlarmAsr", self.asides)
        times = json.loads(subprocess.run(
            [f"{STAGE}/bin/orvano-cli", "times", "--config", f"{self.tmp}/cfg/orvano/data.cfg",
             "--date", DATE, "--json"],
            env=self.env, check=True, capture_output=True, text=True).stdout)
        asr, reminder, iqama = times["text"][3], times["reminders"][3], times["iqama"][3]
        # Both counted from Asr's shown minute.
        hour, minute = (int(part) for part in asr.split(":"))
        self.assertEqual(reminder, f"{(hour * 60 + minute - 10) // 60:02d}:"
                                   f"{(minute - 10) % 60:02d}")
        self.assertEqual(iqama, f"{(hour * 60 + minute + 15) // 60:02d}:{(minute + 15) % 60:02d}")
        english = "[Software\\Apps\\Orvano]\nLang=hex:01,00,00,00\n"
        with open(f"{self.tmp}/cfg/orvano/settings.ini", "a", encoding="utf-8") as out:
            out.write(english)
        cases = [
            # the minute the strip starts before, the title the daemon must get
            (reminder, f"Asr in 10 min ({asr})"),
            (asr, f"Asr {asr}"),
        ]
        for clock_text, summary in cases:
            with self.subTest(summary=summary):
                strip, _ = self.start_strip(clock_text)
                try:
                    self.assertIsNotNone(wait_until(lambda: self.notified(summary), 20),
                                         f"no notification titled {summary!r}")
                    if clock_text == reminder:
                        # A reminder is silent: the adhan chosen for Asr waits for Asr.
                        self.assertIsNone(wait_until(lambda: self.sink_inputs(), 2))
                finally:
                    self.end(strip)
                self.assertTrue(self.notified(summary).endswith(f"\nIqama {iqama}"),
                                self.notified(summary))

    asides = f"[Reminders]\nAsr={hex_text('10')}\n[Iqama]\nAsr={hex_text('15')}\n"

    def test_a_chosen_reminder_sound_reaches_the_sink_and_stops(self):
        self.write_settings("AlarmAsr", f"ReminderFile={hex_text(self.adhan)}\n" + self.asides)
        hour, minute = (int(part) for part in self.text[3].split(":"))
        before = hour * 60 + minute - 10
        reminder = f"{before // 60:02d}:{before % 60:02d}"
        strip, minute_starts = self.start_strip(reminder)
        try:
            self.assertIsNotNone(wait_until(lambda: self.traced("bus name owned"), 15))
            playing = wait_until(lambda: self.sink_inputs(), 20)
            self.assertIsNotNone(playing, "no reminder stream reached the sink")
            self.assertLessEqual(playing - minute_starts, 5.0)
            asked = time.monotonic()
            self.stop_over_bus()
            gone = wait_until(lambda: not self.sink_inputs(), 5)
            self.assertIsNotNone(gone, "the reminder stayed on the sink")
            self.assertLessEqual(gone - asked, 2.0)
            self.assertTrue(wait_until(lambda: self.traced("reminder stopped (dbus)"), 5))
        finally:
            self.end(strip)

    def test_next_prayer_answers_over_the_bus(self):
        self.write_settings("AlarmAsr")
        strip, _ = self.start_strip(self.text[3], lead=30)
        self.addCleanup(self.end, strip)
        self.assertIsNotNone(wait_until(lambda: self.traced("bus name owned"), 15))
        answer = subprocess.run(
            ["gdbus", "call", "--session", "--dest", "org.orvano.Orvano.Today",
             "--object-path", "/org/orvano/Orvano/Today",
             "--method", "org.orvano.Orvano.Today.NextPrayer"],
            env=self.env, check=True, capture_output=True, text=True, timeout=10).stdout.strip()
        # Thirty seconds before Asr's minute: Asr, in 30 s less the start-up.
        key, clock, left = answer.strip("()").split(", ")
        self.assertEqual((key, clock), ("'asr'", f"'{self.text[3]}'"))
        self.assertTrue(left.startswith("int64 "))
        self.assertIn(int(left.split()[1]), range(10, 31))


if __name__ == "__main__":
    if not os.path.isdir(STAGE) or not os.path.isdir(DATA):
        print(__doc__)
        sys.exit(2)
    unittest.main(argv=sys.argv[:1], verbosity=2)
