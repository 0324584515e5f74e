#!/usr/bin/env python3
"""Writes the test data folder: data files (Shift-JIS, CR LF), pictures (8-bit BMP) and sounds
(16-bit PCM WAV). Python standard library only. Run from anywhere:

    python3 tests/data/make_fixtures.py

The outputs are committed, so tests never need Python. Everything is deterministic: running the
script again rewrites identical files.
"""
import math
import os
import struct
import wave

ROOT = os.path.dirname(os.path.abspath(__file__))

# --------------------------------------------------------------------------------------------
# Files on disk


def out_path(windows_name):
    return os.path.join(ROOT, *windows_name.split("\\"))


def write_dat(name, text):
    """A data file as the program's users write them: Shift-JIS (CP932), CR LF."""
    lines = text.strip("\n").split("\n")
    data = ("\r\n".join(lines) + "\r\n").encode("cp932")
    with open(os.path.join(ROOT, name), "wb") as f:
        f.write(data)


def write_bmp(windows_name, width, height, colour, mark=None):
    """A 4-bit paletted BMP: a filled rectangle with a one-pixel border and an optional bar
    pattern (mark = number of bars) so that pictures of one list differ. The lower-left pixel is
    black, which is the transparent colour of the cab's transparent images."""
    path = out_path(windows_name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    palette = [(0, 0, 0), colour, (255, 255, 255), (64, 64, 64)]
    row_size = ((width + 1) // 2 + 3) & ~3
    pixels = bytearray()
    for y in range(height):  # bottom-up
        row = bytearray(row_size)
        for x in range(width):
            if x == 0 and y == 0:
                v = 0
            elif x in (0, width - 1) or y in (0, height - 1):
                v = 3
            elif mark is not None and mark > 0 and (x * (mark + 1)) // width % 2 == 1 and \
                    height // 4 < y < 3 * height // 4:
                v = 2
            else:
                v = 1
            row[x // 2] |= v << (4 if x % 2 == 0 else 0)
        pixels += row
    pal = bytearray()
    for i in range(16):
        r, g, b = palette[i] if i < len(palette) else (0, 0, 0)
        pal += bytes((b, g, r, 0))
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16,
                       0)
    with open(path, "wb") as f:
        f.write(header + info + pal + pixels)


def write_wav(windows_name, freq, seconds=0.2, rate=8000):
    """Mono 16-bit PCM, a sine at freq Hz with a short fade in and out, so every sound of the
    set is distinct and clicks nothing when looped."""
    path = out_path(windows_name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    n = int(seconds * rate)
    fade = max(1, rate // 100)
    frames = bytearray()
    for i in range(n):
        env = min(1.0, i / fade, (n - 1 - i) / fade)
        frames += struct.pack("<h", int(8000 * env * math.sin(2 * math.pi * freq * i / rate)))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


SOUND_FREQ = [300]


def sound(windows_name, seconds=0.2):
    """Registers a sound file name used by a data file and writes it; returns the name."""
    SOUND_FREQ[0] += 37
    write_wav(windows_name, SOUND_FREQ[0], seconds)
    return windows_name


def picture(windows_name, width, height, colour, mark=None):
    write_bmp(windows_name, width, height, colour, mark)
    return windows_name


def t(h, m, s):
    """Clock ticks (thirtieths of a second since midnight)."""
    return ((h * 60 + m) * 60 + s) * 30


# --------------------------------------------------------------------------------------------
# Pictures shared by both vehicles and the route

picture(r"image\atsp.bmp", 480, 240, (255, 0, 0), 0)  # train-stop overlay of the video area
STOPLINE = picture(r"image\sign\stopline.bmp", 50, 50, (255, 255, 0), 1)

# --------------------------------------------------------------------------------------------
# The electric commuter train (train_test.dat)


def panel_sections(prefix, colour):
    """The panel pictures and lamps of one cab. Returns the text of the sections."""
    text = []
    text.append("[Panel]\n%s\n0\n240" % picture(prefix + r"\panel.bmp", 640, 200, colour))
    text.append("[Panel2]\n%s\n480\n0" % picture(prefix + r"\panel2.bmp", 160, 240, colour, 2))
    lamps = [
        ("Lamp_Door", "door", 500, 250), ("Lamp_Power", "power", 530, 250),
        ("Lamp_EB", "eb", 560, 250), ("Lamp_Gen", "gen", 590, 250),
        ("Lamp_Air", "air", 500, 270), ("Lamp_Ele", "ele", 530, 270),
        ("Lamp_Ats", "ats", 560, 270), ("Lamp_ATSP1", "atsp1", 590, 270),
        ("Lamp_ATSP2", "atsp2", 620, 270), ("Lamp_G", "sig_g", 500, 290),
        ("Lamp_YG", "sig_yg", 520, 290), ("Lamp_Y", "sig_y", 540, 290),
        ("Lamp_YY", "sig_yy", 560, 290), ("Lamp_R", "sig_r", 580, 290),
        ("Lamp_Fwd", "fwd", 500, 310), ("Lamp_Back", "back", 530, 310),
    ]
    for i, (section, file, x, y) in enumerate(lamps):
        name = picture(prefix + "\\lamp_%s.bmp" % file, 24, 14, (255, 160 + 5 * i, 0))
        text.append("[%s]\n%s\n%d\n%d" % (section, name, x, y))
    return "\n\n".join(text)


def needle(section, prefix, file, x, y, zero, per_unit):
    name = picture(prefix + "\\needle_%s.bmp" % file, 100, 100, (255, 255, 255))
    return "[%s]\n%s\n%d\n%d\n100\n100\n%d\n%s" % (section, name, x, y, zero, per_unit)


def drive_sounds(prefix, bands):
    """The running sounds first (entry b for 10 b km/h), then the named sounds."""
    names = [sound(prefix + "\\run%03d.wav" % (10 * b), 0.5) for b in range(bands)]
    return names


EMU = r"image\emu"
EMU_SOUND = r"sound\emu"
emu_run = drive_sounds(EMU_SOUND, 11)  # 0 .. 100 km/h
emu_named = [
    "br1", "br2", "eb", "ats_bell", "ats_chime", "atc", "horn", "horn2", "horn3", "door_open",
    "door_close", "eb_ring", "squeak", "cp_start", "cp_loop", "cp_end", "stop_alert", "buzzer1",
    "buzzer2", "dep_sign",
]
emu_drive = emu_run + [sound(EMU_SOUND + "\\%s.wav" % n, 0.5 if "loop" in n else 0.2)
                       for n in emu_named]
E = {n: len(emu_run) + i for i, n in enumerate(emu_named)}
# The EMU has no engine: its engine sounds point at an empty [DriveSound] line.
EMU_NO_SOUND = len(emu_drive)
emu_drive.append("")
emu_motor = [sound(EMU_SOUND + "\\motor%d.wav" % i, 0.5) for i in range(3)]

notch_p = "\n".join(picture(EMU + "\\notch_p%d.bmp" % i, 40, 20, (0, 200, 0), i)
                    for i in range(5))
notch_b = "\n".join(picture(EMU + "\\notch_b%d.bmp" % i, 40, 20, (200, 0, 0), i)
                    for i in range(9))

emu_others = "\n".join([
    "%s\n400\n250" % picture(EMU + r"\others_plate.bmp", 80, 20, (30, 30, 30)),
    "%s\n420\n280" % picture(EMU + r"\others_lever.bmp", 30, 40, (120, 120, 0)),
    "%s\n460\n300" % picture(EMU + r"\others_flash.bmp", 20, 20, (255, 255, 255), 1),
])

write_dat("train_test.dat", f"""
; Test EMU: a ten-car commuter train with a one-handle master controller,
; electro-pneumatic brake in seven steps plus emergency, four power notches.
;
[Handle]
0
[BrakeType]
1
[Brake]
8
[Power]
4
[Hold]
0
[BrakeRate]
4.2
[PowerDelay]
3
[BrakeDelay]
3
[SAPDelay]
2
[BrakeUp]
200
[BrakeDown]
160
[EBPress]
440
[SAPPress]
390
[HighAirPress]
880
[LowAirPress]
780
[Curr1]
300
[Curr2]
200
[Engine_Type]
1
[DoorType]
0
[Mt]
210.0
[Tt]
110.0
[Cars]
10
[StopLine]
{STOPLINE}
[Tons]
320.0
[EB]
1
[MaxSpeed]
100
[Lose_elec]
7
[Mc]
1

- 保安装置 (ATS-S: alarm, acknowledge within 5 s)
[ATS_Type]
0
[ATS_Alert]
0
[ATS_Time]
5
[ATS_Cnt]
0

- サウンド番号 ([DriveSound] の位置)
[Sound_br1]
{E['br1']}
[Sound_br2]
{E['br2']}
[Sound_EB]
{E['eb']}
[Sound_Ats1]
{E['ats_bell']}
[Sound_Ats2]
{E['ats_chime']}
[Sound_Atc]
{E['atc']}
[Sound_Horn]
{E['horn']}
[Sound_Horn2]
{E['horn2']}
[Sound_Horn3]
{E['horn3']}
[Sound_DoorOpen]
{E['door_open']}
[Sound_DoorClose]
{E['door_close']}
[Sound_EBring]
{E['eb_ring']}
[Sound_squeak]
{E['squeak']}
[CP_Start]
{E['cp_start']}
[CP_Cnt]
{E['cp_loop']}
[CP_End]
{E['cp_end']}
[Stop]
{E['stop_alert']}
[Buzzer]
{E['buzzer1']}
{E['buzzer2']}
[DepSign]
{E['dep_sign']}
[EngineSound]
{EMU_NO_SOUND}
{EMU_NO_SOUND}
{EMU_NO_SOUND}

- ノッチ曲線 (a0, a1, s1, s2, k)
[Notch]
1.2
1.0
12
18
0.93
2.0
2.0
22
32
0.95
2.5
2.5
30
48
0.96
2.5
2.5
36
60
0.97
#

[MotorSound]
{emu_motor[0]}
0
0
100
0.5
1.6
0.6
1.0
{emu_motor[1]}
1
7
100
0.6
1.5
0.5
0.9
{emu_motor[2]}
2
0
100
0.8
1.2
0.2
0.6
#

[DriveSound]
{chr(10).join(emu_drive)}
#

[Clock]
600
400
20

{panel_sections(EMU, (90, 110, 130))}

{needle("Needle_Speed", EMU, "speed", 20, 280, -135, "2.25")}
{needle("Needle_BC", EMU, "bc", 130, 280, -135, "0.45")}
{needle("Needle_SAP", EMU, "sap", 130, 330, -135, "0.45")}
{needle("Needle_ER", EMU, "er", 240, 280, -135, "0.3")}
{needle("Needle_BP", EMU, "bp", 240, 330, -135, "0.3")}
{needle("Needle_MR", EMU, "mr", 350, 280, -135, "0.27")}
{needle("Needle_V", EMU, "v", 350, 330, -60, "0.08")}
{needle("Needle_I", EMU, "i", 460, 330, 0, "0.15")}

[NotchImageP]
300
400
{notch_p}
#

[NotchImageB]
350
400
{notch_b}
#

[Others]
{emu_others}
#
""")

# --------------------------------------------------------------------------------------------
# The diesel railcar (train_diesel.dat)

DMU = r"image\dmu"
DMU_SOUND = r"sound\dmu"
dmu_run = drive_sounds(DMU_SOUND, 10)  # 0 .. 90 km/h
dmu_named = [
    "br1", "br2", "eb", "ats_bell", "ats_chime", "atc", "horn", "horn2", "horn3", "door_open",
    "door_close", "eb_ring", "squeak", "cp_start", "cp_loop", "cp_end", "stop_alert", "buzzer1",
    "buzzer2", "dep_sign", "engine", "idle_closed", "idle_open",
]
dmu_drive = dmu_run + [sound(DMU_SOUND + "\\%s.wav" % n, 0.5) for n in dmu_named]
D = {n: len(dmu_run) + i for i, n in enumerate(dmu_named)}
dmu_motor = [sound(DMU_SOUND + "\\joint.wav", 0.5)]
dmu_notch_p = "\n".join(picture(DMU + "\\notch_p%d.bmp" % i, 40, 20, (0, 160, 60), i)
                        for i in range(6))
# [Hold] 1: release, hold, maintain, lap, apply, emergency.
dmu_notch_b = "\n".join(picture(DMU + "\\notch_b%d.bmp" % i, 40, 20, (160, 40, 0), i)
                        for i in range(6))
dmu_gears = "\n".join(picture(DMU + "\\gear%d.bmp" % i, 30, 20, (0, 80, 160), i)
                      for i in range(3))

write_dat("train_diesel.dat", f"""
; Test DMU: a two-car diesel railcar with separate handles, automatic air brake
; (maintain, lap, apply, emergency) with a hold position, automatic gear changes.
;
[Engine_Type]
0
[Handle]
1
[BrakeType]
0
[Brake]
4
[Power]
5
[Hold]
1
[BrakeRate]
3.6
[PowerDelay]
6
[BrakeDelay]
8
[SAPDelay]
4
[BrakeUp]
120
[BrakeDown]
100
[EBPress]
400
[SAPPress]
340
[HighAirPress]
880
[LowAirPress]
780
[Curr1]
0
[Curr2]
0
[DoorType]
0
[Mt]
36.5
[Tt]
0
[Cars]
2
[StopLine]
{STOPLINE}
[Tons]
73.0
[EB]
0
[MaxSpeed]
95
[Lose_elec]
0
[Mc]
0
[ATS_Type]
0
[ATS_Alert]
0
[ATS_Time]
5
[ATS_Cnt]
1
[Sound_br1]
{D['br1']}
[Sound_br2]
{D['br2']}
[Sound_EB]
{D['eb']}
[Sound_Ats1]
{D['ats_bell']}
[Sound_Ats2]
{D['ats_chime']}
[Sound_Atc]
{D['atc']}
[Sound_Horn]
{D['horn']}
[Sound_Horn2]
{D['horn2']}
[Sound_Horn3]
{D['horn3']}
[Sound_DoorOpen]
{D['door_open']}
[Sound_DoorClose]
{D['door_close']}
[Sound_EBring]
{D['eb_ring']}
[Sound_squeak]
{D['squeak']}
[CP_Start]
{D['cp_start']}
[CP_Cnt]
{D['cp_loop']}
[CP_End]
{D['cp_end']}
[Stop]
{D['stop_alert']}
[Buzzer]
{D['buzzer1']}
{D['buzzer2']}
[DepSign]
{D['dep_sign']}
[EngineSound]
{D['engine']}
{D['idle_closed']}
{D['idle_open']}
[Gear_Type]
AT

- 変速段 (sa, sb, sc, aa, ab, ac): 変, 直1, 直2
[Engine]
0
20
45
1.2
1.0
0.6
40
55
70
0.7
0.6
0.45
65
80
95
0.45
0.35
0.2
#

[MotorSound]
{dmu_motor[0]}
2
0
95
0.6
1.4
0.3
0.8
#

[DriveSound]
{chr(10).join(dmu_drive)}
#

[Clock]
0
0
0

{panel_sections(DMU, (110, 100, 80))}

{needle("Needle_Speed", DMU, "speed", 20, 280, -135, "2.7")}
{needle("Needle_BC", DMU, "bc", 130, 280, -135, "0.5")}
{needle("Needle_SAP", DMU, "sap", 130, 330, -135, "0.5")}
{needle("Needle_ER", DMU, "er", 240, 280, -135, "0.3")}
{needle("Needle_BP", DMU, "bp", 240, 330, -135, "0.3")}
{needle("Needle_MR", DMU, "mr", 350, 280, -135, "0.27")}
[Needle_V]

0
0
0
0
0
0
[Needle_I]

0
0
0
0
0
0

[NotchImageP]
300
400
{dmu_notch_p}
#

[NotchImageB]
350
400
{dmu_notch_b}
#

[GearImageList]
400
400
{dmu_gears}
#
""")

# --------------------------------------------------------------------------------------------
# The route (line_test.dat): about 8 km, five stations, recorded at 30 frames per second.
#
# The recorded train leaves each stop at 5 km/h, accelerates to line speed, cruises, brakes to
# 15 km/h and creeps the last metres to the stopping point. Segments are (frames, v0, v1).


class Profile:
    def __init__(self):
        self.segments = []  # (start, end, v0, v1)
        self.frame = 0

    def add(self, frames, v0, v1):
        self.segments.append((self.frame, self.frame + frames, v0, v1))
        self.frame += frames
        return self.frame


p = Profile()
S0 = p.add(200, 5, 5)
# Kitano -> Minamidai, 2.0 km
p.add(975, 5, 70)
p.add(2040, 70, 70)
p.add(825, 70, 15)
S1 = p.add(150, 15, 5)
# Minamidai -> (Sakuragawa, passed) -> Shinonome, 3.3 km, a 65 km/h limit after Sakuragawa
p.add(975, 5, 70)
p.add(300, 70, 80)
S2 = p.frame + 900  # passed at 80 km/h
p.add(1800, 80, 80)
p.add(600, 80, 60)
L65 = (p.frame, p.frame + 900)
p.add(900, 60, 60)
p.add(300, 60, 70)
p.add(825, 70, 15)
S3 = p.add(150, 15, 5)
# Shinonome -> Minatomachi (terminus), 2.8 km, a 45 km/h curve
p.add(975, 5, 70)
p.add(1200, 70, 70)
p.add(450, 70, 45)
L45 = (p.frame, p.frame + 900)
p.add(900, 45, 45)
p.add(600, 45, 70)
p.add(600, 70, 70)
p.add(825, 70, 15)
S4 = p.add(150, 15, 5)
VIDEO_FRAMES = p.add(600, 5, 5)  # overrun room beyond the terminus


def distance(frame):
    """Centimetres from frame 0, the trapezoid rule the run uses."""
    total = 0
    for start, end, v0, v1 in p.segments:
        if frame >= end:
            total += round((v0 + v1) * (end - start) / 2.16)
        elif frame > start:
            f = frame - start
            total += round(((v1 - v0) / (end - start) * f + 2 * v0) / 7.2 * (f / 30) * 100)
            break
        else:
            break
    return total


def recorded_seconds(a, b):
    return (b - a) / 30


START = t(10, 0, 0)
stations = []  # (name, kind, stop frame, arrival sound, departure sound, departure, close)
dep0 = t(10, 0, 30)
stations.append(("北野", 0, S0, 6, 7, dep0, dep0 + 300))
# Timetable: recorded running time plus 20 s for each run, 30 s at each platform.
arr1 = dep0 + 300 + 150 + int(recorded_seconds(S0, S1) + 20) * 30
dep1 = arr1 + 900
stations.append(("南台", 0, S1, 6, 8, dep1, dep1 + 300))
pass2 = dep1 + 300 + 150 + int(recorded_seconds(S1, S2) + 10) * 30
stations.append(("桜川", 1, S2, 6, 6, pass2, pass2))
arr3 = dep1 + 300 + 150 + int(recorded_seconds(S1, S3) + 25) * 30
dep3 = arr3 + 900
stations.append(("東雲", 2, S3, 6, 9, dep3, dep3 + 300))
arr4 = dep3 + 300 + 150 + int(recorded_seconds(S3, S4) + 25) * 30
stations.append(("港町", 0, S4, 6, 14, arr4 + 900, 9999999))

station_lines = "\n".join(
    "%s,%d,%d,%d,%d,%d,%d,%d" % (n, k, s - 100, s + 100, a, d, dt, ct)
    for n, k, s, a, d, dt, ct in stations)

# Signals: mode, label, number, kind, view, signal, warning, check, fixed level, fixed until.
# Starting signals show stop until their station's departure time (mode 1); home signals are
# fixed at caution (mode 2); block signals follow the preceding train (mode 0).
signals = [
    (1, "北野 出発", 1, 3, 0, S0 + 400, S0 - 150, S0 + 380, 0, dep0),
    (0, "第1閉塞", 2, 3, S0 + 1600, S0 + 2100, S0 + 1500, S0 + 2080, 0, 0),
    (2, "南台 場内", 3, 4, S1 - 1400, S1 - 800, S1 - 1700, S1 - 820, 2, 0),
    (1, "南台 出発", 4, 3, S1 - 700, S1 + 400, S1 + 150, S1 + 380, 0, dep1),
    (0, "第2閉塞", 5, 5, S1 + 2400, S1 + 3000, S1 + 2200, S1 + 2980, 0, 0),
    (2, "中継", 6, 0, S3 - 2600, S3 - 2200, S3 - 2700, S3 - 2220, 4, 0),
    (0, "東雲 場内", 7, 4, S3 - 1400, S3 - 800, S3 - 1700, S3 - 820, 0, 0),
    (1, "東雲 出発", 8, 2, S3 - 700, S3 + 400, S3 + 150, S3 + 380, 0, dep3),
    (0, "第3閉塞", 9, 1, S3 + 2000, S3 + 2500, S3 + 1900, S3 + 2480, 0, 0),
    (2, "港町 場内", 10, 3, S4 - 1500, S4 - 900, S4 - 1800, S4 - 920, 2, 0),
]
signal_lines = "\n".join(",".join(str(v) for v in s) for s in signals)

ROUTE_SOUND = r"sound\route"
route_sounds = [
    sound(ROUTE_SOUND + r"\announce_overrun.wav"),      # 0
    sound(ROUTE_SOUND + r"\announce_next1.wav"),        # 1
    sound(ROUTE_SOUND + r"\announce_soon1.wav"),        # 2
    sound(ROUTE_SOUND + r"\point.wav"),                 # 3
    sound(ROUTE_SOUND + r"\bridge.wav", 0.5),           # 4
    sound(ROUTE_SOUND + r"\crossing.wav", 0.5),         # 5
    sound(ROUTE_SOUND + r"\arrive.wav"),                # 6
    sound(ROUTE_SOUND + r"\melody_kitano.wav", 1.0),    # 7
    sound(ROUTE_SOUND + r"\melody_minamidai.wav", 1.0),  # 8
    sound(ROUTE_SOUND + r"\melody_shinonome.wav", 1.0),  # 9
    sound(ROUTE_SOUND + r"\announce_next3.wav"),        # 10
    sound(ROUTE_SOUND + r"\announce_soon3.wav"),        # 11
    sound(ROUTE_SOUND + r"\announce_next4.wav"),        # 12
    sound(ROUTE_SOUND + r"\announce_soon4.wav"),        # 13
    sound(ROUTE_SOUND + r"\terminus.wav", 1.0),         # 14
]
# The data names one folder with capitals, as files written on Windows often do; the folder on
# disk is lower case.
route_sound_lines = "\n".join(s.replace(r"sound\route", r"Sound\Route") for s in route_sounds)

KANKO = r"sound\kanko"
kanko1_names = ["signal_r", "signal_yy", "signal_y", "signal_yg", "signal_g", "signal_1",
                "diff15", "diff30", "diff45", "diff60", "diff75", "diff90", "diff105", "late",
                None, "early", None, "ontime"]
kanko1 = "\n".join(sound(KANKO + "\\%s.wav" % n) if n else "" for n in kanko1_names)
# [KankoSound2]: entry n names signal number n; then the kinds of signal.
kanko2_names = ["sig%02d" % n for n in range(11)] + ["jounai", "shuppatsu", "heisoku"]
kanko2 = "\n".join(sound(KANKO + "\\%s.wav" % n) for n in kanko2_names)
JOUNAI, SHUPPATSU, HEISOKU = (18 + kanko2_names.index(n)
                              for n in ("jounai", "shuppatsu", "heisoku"))

SIGN = r"image\sign"
sign_images = "\n".join([
    picture(SIGN + r"\slope_up.bmp", 50, 50, (0, 120, 0), 1),
    picture(SIGN + r"\slope_down.bmp", 50, 50, (0, 0, 120), 2),
])
other = [
    (picture(SIGN + r"\board_jikoku.bmp", 100, 50, (255, 255, 255), 0), ""),
    (picture(SIGN + r"\limit65.bmp", 100, 50, (255, 200, 0), 1), sound(KANKO + r"\seigen65.wav")),
    (picture(SIGN + r"\limit45.bmp", 100, 50, (255, 200, 0), 2), sound(KANKO + r"\seigen45.wav")),
    (picture(SIGN + r"\whistle.bmp", 100, 50, (255, 255, 255), 3), sound(KANKO + r"\kiteki.wav")),
    (picture(SIGN + r"\stop_board.bmp", 100, 50, (255, 255, 255), 4),
     sound(KANKO + r"\teishi.wav")),
    (picture(SIGN + r"\limit_end.bmp", 100, 50, (255, 200, 0), 5), ""),
]
other_lines = "\n".join("%s\n%s" % o for o in other)
signal_images = "\n".join(
    picture(r"image\signal\sig%02d.bmp" % i, 50, 100, (40, 40, 40), i) for i in range(22))

TUNNEL1 = (S1 + 2000, S1 + 2400)
TUNNEL2 = (S3 + 1200, S3 + 1900)

STAF_CARD = picture(r"image\staf\staf_test.bmp", 160, 240, (240, 240, 220), 3)
STAF_STILL = picture(r"image\staf\still_test.bmp", 480, 240, (20, 40, 80), 0)

route_text = f"""
; Test line: Kitano - Minamidai - Sakuragawa (passed) - Shinonome - Minatomachi.
; Video: {VIDEO_FRAMES} frames at 30 frames per second.
[LineName]
ヴェルモリア本線 北野～港町
[StartPos]
{S0}
[FrameRate]
30
[Staf]
{STAF_CARD}
{STAF_STILL}
[StartTime]
{START}
[Speed_YY]
25
[Speed_Y]
45
[Speed_YG]
65
[Speed_G]
100
[DataName]
line_test
[Pre_Time]
180
[OneMan]
0

[SoundData]
{route_sound_lines}
#

- 車内放送 (0: 過走)
[Announce]
0,0
1,{S0 + 1100}
2,{S1 - 1300}
10,{S1 + 1100}
11,{S3 - 1300}
12,{S3 + 1100}
13,{S4 - 1300}
#

[KankoSound1]
{kanko1}

[KankoSound2]
{kanko2}
#

[Sound]
; 分岐器 (one-shot, rate follows the speed)
3,{S0 + 450},{S0 + 520},40,0,1,1
; 鉄橋 (loop while on the bridge)
4,{S1 + 1200},{S1 + 1500},70,1,1,1
; 踏切
5,{S3 + 600},{S3 + 800},0,1,0,0
#

[Doppler]
5,{S1 + 2600},15000,0
#

[Tunnel]
{TUNNEL1[0]}
{TUNNEL1[1]}
{TUNNEL2[0]}
{TUNNEL2[1]}
#

[Station]
{station_lines}
#

[StopSound]
6
#

[Signal]
{signal_lines}
#

[Slope]
10.0,{S0 + 1500},{S0 + 2800}
-5.0,{S1 + 1500},{S1 + 3000}
3.5,{S3 + 1000},{S3 + 2500}
-8.0,{S3 + 3600},{S3 + 4600}
#

[Sign]
4,{S1 - 1000},{S1 - 700}
3,{TUNNEL2[0] - 400},{TUNNEL2[0] - 250}
5,{L65[1]},{L65[1] + 120}
#

[SignalKanko]
0,0,{SHUPPATSU}
1,0,{HEISOKU}
2,0,{JOUNAI}
3,0,{SHUPPATSU}
4,0,{HEISOKU}
6,0,{JOUNAI}
7,0,{SHUPPATSU}
8,0,{HEISOKU}
9,0,{JOUNAI}
#

[StationKanko]
0,0,17
1,1,17
#

[SpeedLimit]
65,1,0,{L65[0]},{L65[1]}
45,2,0,{L45[0]},{L45[1]}
#

[SpeedCheck]
70,{L65[0] + 30}
50,{L45[0] + 30}
#

[SignImageList]
{sign_images}
#

[OtherImageList]
{other_lines}
#

[SignalImageList]
{signal_images}
#

[SpeedUnit]
{chr(10).join("%d,%d,%d,%d" % s for s in p.segments)}
#

- 時刻確認 (0: 停車駅, 1: 通過駅)
[Time]
0,{S1 - 1600},{S1 - 1300},{arr1 - int(recorded_seconds(S1 - 1450, S1)) * 30}
1,{S2 - 300},{S2},{pass2 - 150}
0,{S3 - 1600},{S3 - 1300},{arr3 - int(recorded_seconds(S3 - 1450, S3)) * 30}
0,{S4 - 1600},{S4 - 1300},{arr4 - int(recorded_seconds(S4 - 1450, S4)) * 30}
#
"""
write_dat("line_test.dat", route_text)

# --------------------------------------------------------------------------------------------
# Strings and keys, controller codes

write_dat("korvelan.dat", r"""
; Texts of the cab displays and menus
[Path]
move\
[Forward]
前
[Neutral]
切
[Reverse]
後
[Stop]
 停車
[Pass]
 通過
[Stop2]
 停車
[Neut]
緩め
[Neut2]
切
[Apply]
ブレーキ
[Maintain]
保ち
[Hold]
重なり
[Hold2]
保持
[EB]
非常
[Start]
運転開始(&S)
[Move]
駅へ移動(&M)
[Display]
表示(&V)
操作説明(&H)
再描画(&R)
[Control]
コントローラ(&C)
""")

codes = (["VMP01", "VMP02", "VMP03", "VMP04", "VMP05", "VMP5X", "VMN00"] +
         ["VMB%02d" % i for i in range(1, 9)] + ["VMBEB", "VMRFW", "VMRNT", "VMRBK", "VMACK",
                                                 "VMHRN", "VMCAL", "VMX01", "VMX02", "VMX03",
                                                 "VMX04"])
assert len(codes) == 26
write_dat("mascon.dat", "\n".join(codes))

# A summary for the README of the fixture set.
if __name__ == "__main__":
    print("video frames", VIDEO_FRAMES)
    for n, k, s, a, d, dt, ct in stations:
        print("%s kind %d stop %d distance %.1f m departure %d close %d" %
              (n, k, s, distance(s) / 100, dt, ct))
    print("total %.1f m" % (distance(VIDEO_FRAMES) / 100))
