#!/usr/bin/env python3
"""Writes a benchmark corpus: a Wine prefix with Soarix 3 installed, a 200-rule DEFAULT_CHECK.fpl
and N version-3 flight plans as an online league collects them.

    gen_corpus.py OUT [--plans N] [--seed S]

OUT/prefix       the Wine prefix (WINEPREFIX) with the landscapes' airspace files
OUT/rules        DEFAULT_CHECK.fpl, to be copied beside the executable
OUT/plans        p00000.fpl, p00001.fpl, ... (CR LF line ends)

Plan k depends only on the seed and k, so the first 100 plans of a 10,000-plan corpus are the
100-plan corpus. Each value is drawn from what task setters write; a few are drawn outside the
rules' bounds so that some plans break some rules.
"""

import argparse
import os
import random
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from soarix import SoarixPrefix, write_file  # noqa: E402

# Landscapes of the league, with their weights; "AlpsTest" is a setter's slip.
LANDSCAPES = [("Alps", 90), ("Alps2", 9), ("AlpsTest", 1)]
AIRSPACE_BLOCKS = 120  # blocks of each landscape's .air file
DISABLED = 60          # disabled airspace blocks per plan

AIRFIELDS = ["Sisteron", "Digne", "Seyne", "Gap", "Barcelonnette", "Vinon", "Serres", "Aspres",
             "Puimoisson", "Saint-Auban", "Fayence", "Valensole", "Mont Ventoux", "Lure",
             "Chabre", "Pic de Bure", "Dormillouse", "Parpaillon", "Cheval Blanc",
             "Tete de l'Estrop"]
PLANES = [("ASK 21", "Club"), ("LS4", "Standard"), ("Discus", "Standard"), ("DG-300", "Standard"),
          ("Std Cirrus", "Club"), ("LS8", "15m"), ("Ventus", "Racing")]
ZONE_NAMES = ["Base", "Ubaye", "Durance", "Ecrins"]


def airspace_file(blocks=AIRSPACE_BLOCKS):
    """A landscape's airspace file with `blocks` blocks."""
    lines = []
    for n in range(blocks):
        lines += [f"AC {'RQPD'[n % 4]}", f"AN Zone {n}", "AL GND", "AH FL115",
                  f"DP 44:{n % 60:02d}:00 N 006:00:00 E", "*"]
    return "\r\n".join(lines) + "\r\n"


def write_prefix(folder):
    prefix = SoarixPrefix(folder, (3,))
    for name, _ in LANDSCAPES:
        write_file(os.path.join(prefix.install_dir(3), "Landscapes", name, name + ".air"),
                   airspace_file())
    return prefix


class Draw:
    """The values of one plan. `slip` is the chance that a value lies outside the rules."""

    def __init__(self, rng, slip):
        self.rng = rng
        self.slip = slip

    def slipped(self):
        return self.rng.random() < self.slip

    def int(self, good, bad):
        lo, hi = bad if self.slipped() else good
        return self.rng.randint(lo, hi)

    def pick(self, good, bad):
        return self.rng.choice(bad if self.slipped() else good)


def flight_plan(seed, k):
    rng = random.Random(f"brevanto-bench:{seed}:{k}")
    d = Draw(rng, slip=rng.choice([0.0, 0.0, 0.005, 0.01, 0.02, 0.04]))
    count = d.pick([8, 9, 10, 10, 10, 11, 12], [5, 13])
    landscape = rng.choices([n for n, _ in LANDSCAPES], [w for _, w in LANDSCAPES])[0]
    places = rng.sample(AIRFIELDS, count)
    ground = rng.randint(300, 900)

    # The weather first: the start and finish altitudes are set against the cloud base.
    temp = rng.randint(18, 30)
    weather = []
    for z in range(4):
        t = temp if z == 0 else temp + rng.randint(-2, 2)
        weather.append({"WindDir": rng.randint(0, 359), "WindSpeed": d.int((0, 12), (15, 25)),
                        "ThermalsTemp": t, "ThermalsDew": t - rng.randint(12, 18),
                        "ThermalsStrength": d.int((2, 5), (0, 1)),
                        "ThermalsInversionheight": d.int((2000, 3800), (1000, 1400))})
    zone0 = weather[0]
    base = ground + min((zone0["ThermalsTemp"] - zone0["ThermalsDew"]) * 125,
                        zone0["ThermalsInversionheight"])

    lines = ["[Version]", "Soarix version=3000", "", "[Task]", f"Landscape={landscape}",
             f"Count={count}"]
    for i in range(count):
        tp = {"Name": places[i], "PosX": f"{rng.uniform(-60000, 90000):.1f}",
              "PosY": f"{rng.uniform(-40000, 40000):.1f}",
              "PosZ": f"{rng.randint(300, 2400)}.0", "Airport": "0", "SectorType": "1",
              "SectorDirection": str(rng.randint(0, 2)),
              "Radius": str(d.int((500, 3000), (200, 499))),
              "Angle": d.pick(["90", "180", "360", "360"], ["45"]),
              "Altitude": str(d.int((900, 2400), (2600, 3200))), "Width": "0", "Height": "0",
              "Azimuth": f"{rng.uniform(0, 6.2831):.4f}"}
        if i == 0:
            tp.update(PosZ=f"{ground}.0", Airport=d.pick(["1"], ["0"]), Radius="3000",
                      Angle="360", Altitude="0", SectorDirection="0")
        elif i == 1:
            # A start line near the airfield with its altitude window.
            z = ground + rng.randint(-50, 150)
            tp.update(Name="Start " + places[1], PosZ=f"{z}.0",
                      SectorType=d.pick(["0"], ["1"]), SectorDirection="1",
                      Radius=str(d.int((1000, 5000), (500, 999))),
                      Angle=d.pick(["180"], ["90"]), Altitude="1500",
                      Width=str(z + d.int((500, 800), (200, 450))),
                      Height=str(min(z + 2000, base + 300) - d.int((0, 400), (-300, -50))))
        elif i == count - 1:
            z = ground + rng.randint(-50, 50)
            tp.update(Name=d.pick(["Finish " + places[i]], [places[i]]), PosZ=f"{z}.0",
                      Radius=str(d.int((1000, 3000), (3500, 5000))),
                      Angle=d.pick(["360"], ["180"]), SectorDirection="0",
                      SectorType=d.pick(["1", "0"], ["2"]))
            if tp["SectorType"] == "0":
                tp.update(Width=str(z + d.int((100, 400), (600, 800))),
                          Height=str(base - d.int((100, 500), (-400, -50))))
        else:
            if i == count - 2:
                tp["Angle"] = d.pick(["360"], ["90", "180"])
            if rng.random() < 0.1:
                z = int(tp["PosZ"][:-2])
                tp.update(SectorType="0", Width=str(z + 300),
                          Height=str(z + d.int((1500, 2800), (3100, 3600))))
        lines += [f"TP{key}{i}={value}" for key, value in tp.items()]

    zones = rng.choice([1, 1, 1, 2, 2, 3])
    lines.append(f"PZCount={d.int((1, 3), (4, 5)) if zones == 3 else zones}")
    for z in range(zones):
        x, y = rng.uniform(-50000, 80000), rng.uniform(-30000, 30000)
        w, h = rng.uniform(1000, 8000), rng.uniform(1000, 8000)
        for c, (cx, cy) in enumerate([(x, y), (x + w, y), (x + w, y + h), (x, y + h)]):
            lines += [f"PZPos{c}X{z}={cx:.1f}", f"PZPos{c}Y{z}={cy:.1f}"]
        lines += [f"PZBase{z}={d.int((0, 800), (1100, 1500))}",
                  f"PZTop{z}={d.int((1500, 3000), (3100, 4000))}",
                  f"PZPenaltyTimeFactor{z}={d.int((1, 3), (0, 0))}"]
    blocks = sorted(rng.sample(range(AIRSPACE_BLOCKS), DISABLED))
    if 5 not in blocks and not d.slipped():
        blocks = sorted(blocks[1:] + [5])
    lines.append("DisabledAirspaces=" + ",".join(map(str, blocks)))

    aat = d.pick(["0"], ["1"])
    start = rng.choice(range(48, 59)) / 4 if not d.slipped() else rng.choice([11.5, 15.0, 15.5])
    lines += [f"StartTime={start:.2f}",
              f"StartTimeWindow={d.pick(['1.0', '1.5', '2.0'], ['0.5', '3.0'])}",
              f"AATTime={'2.5' if aat == '1' else '0.0'}", f"AAT={aat}",
              f"TaskDate={d.int((46000, 46399), (45800, 45999))}",
              f"AllowPDA={d.pick(['0'], ['1'])}", "AllowExternalView=1",
              f"AllowPlaneRecovery={d.pick(['0'], ['1'])}",
              f"AllowHeightRecovery={d.pick(['0'], ['1'])}",
              f"PenaltyCloudFlying={d.pick(['60', '120'], ['0'])}",
              f"PenaltyAirspaceEnterance={d.pick(['600', '300'], ['100', '-1'])}",
              "PenaltyPenaltyZoneEnterance=300",
              f"MaxStartGroundSpeed={d.int((140, 170), (171, 200))}", "PenaltyStartSpeed=10",
              "StartType=1",
              f"StartHeight={d.pick([str(rng.randint(10, 15) * 100)], ['800', 'auto'])}",
              f"RopeLength={d.pick(['60.0'], ['50.0', '60.5'])}",
              f"MaxWingLoading={d.pick(['0', '0.0', '0.4'], ['45.5'])}"]

    lines += ["", "[Weather]", "WZCount=4", "RandomizeWeatherOnEachFlight=0"]
    for z, values in enumerate(weather):
        lines += ["", f"[WeatherZone{z}]", f"Name={ZONE_NAMES[z]}",
                  f"PointCount={3 if z in (1, 2) else 0}"]
        if z in (1, 2):
            for p in range(3):
                lines += [f"Polygon{p}X{z}={rng.randint(-60000, 90000)}",
                          f"Polygon{p}Y{z}={rng.randint(-40000, 40000)}"]
        lines += [f"{key}={value}" for key, value in values.items()]

    plane, cls = d.pick(PLANES[:5], PLANES[5:])
    lines += ["", "[Plane]", f"Name={plane}", f"Class={cls}",
              f"Water={d.pick(['0', '20', '40'], ['80', 'full'])}",
              "Skin=Default", ""]
    return "\r\n".join(lines)


RULES = """\
# League rules, checked on every plan a pilot sends in.

# --- Task
[Version]Soarix version>=3000
Landscape[]Alps
Landscape!=AlpsTest
Landscape<=Alps2
Landscape>=Alps
[Task]Count>=6
[Task]Count<=12
StartTime>=12.0
StartTime<=14.5
StartTimeWindow>0.5
StartTimeWindow<=2.0
AATTime=0.0
AAT=0
AAT<=1
TaskDate>=46000
TaskDate<46400
StartType=1
MaxStartGroundSpeed<=170
MaxStartGroundSpeed>=120
StartHeight>=1000
StartHeight<=1500
RopeLength=60.0
MaxWingLoading=0
MaxWingLoading<=50.0

# --- Aids and penalties
Allow*<=1
Allow*>=0
AllowPDA=0
AllowPlaneRecovery=0
AllowHeightRecovery=0
AllowExternalView!=0
Penalty*>=0
PenaltyCloudFlying>=30
PenaltyAirspaceEnterance>=300
PenaltyStartSpeed>0
PenaltyPenaltyZoneEnterance=300

# --- Start and finish
StartMinAlt>=500AGL
StartMaxAlt<=2000AGL
StartMaxAlt<=BASE+300
StartMinAlt>=800AMSL
TPWidth1<=BASE-300
TPHeight1>=1000AGL
TPSectorDirection1=1
TPRadius1>=1000
TPAngle1=180
TPSectorType1=0
TPName1[]Start
TPAirport0=1
TPPosZ0<=1000
TPAltitude0=0
FinishMaxAlt<=BASE
FinishMinAlt<=500AGL
TPRadius|<=3000
TPRadius|>=500
TPSectorType|!=2
TPName|[]Finish
TPAngle|=360
TPAirport|=0

# --- Turnpoints between start and finish
TPRadius$>=500
TPRadius$<=5000
TPRadius?<=3000
TPRadius%<=3000
TPAngle$>=90
TPAngle%=360
TPSectorType%<=1
TPAltitude?<=2500AMSL
TPAltitude$>=800
TPAltitude$<=BASE+800
TPHeight$<=3000AGL
TPAirport$=0
TPSectorDirection$<=2
TPSectorType$<=1
TPPosZ$>=0
TPPosZ$<=3000.0
TPAzimuth$>=0.0
TPAzimuth$<6.2832

# --- Penalty zones and airspaces
PZCount>=1
PZCount<=3
PZCount!=0
PZTop*<=3000
PZBase*>=0
PZBase*<=1000
PZPenaltyTimeFactor*>=1
PZPenaltyTimeFactor*<=3
PZPos*>=-100000.0
PZPos*<=200000.0
DisabledAirspaces[]5,

# --- Weather, in every zone
[Weather]WZCount=4
WZCount>=1
[Weather]RandomizeWeatherOnEachFlight=0
WindSpeed<15
WindSpeed>=0
WindDir>=0
WindDir<360
ThermalsStrength>1
ThermalsStrength<=5
ThermalsTemp<=35
ThermalsTemp>=10
ThermalsDew<=22
ThermalsInversionheight<=4000
ThermalsInversionheight>=1500
Thermals*>=-10
Wind*>=0

# --- Weather, zone by zone
[WeatherZone0]Name=Base
[WeatherZone0]PointCount=0
[WeatherZone0]ThermalsTemp<=32
[WeatherZone0]ThermalsDew>=0
"""

RULES_GLIDER = """\
# --- Glider
[Plane]Name=ASK 21;LS4;Discus;DG-300;Std Cirrus
Class=Club;Standard
Class!=Open
[Plane]Class<=Standard
[Plane]Water<=50
Water>=0
Skin=Default;Club
[Plane]Skin>=A
"""


def rules():
    """The organiser's 200 rules: every relation, AGL, AMSL and BASE values, each wildcard,
    finish keys and section-qualified keys."""
    text = RULES.splitlines()
    for z in range(4):
        text += [f"[WeatherZone{z}]WindSpeed<=12", f"[WeatherZone{z}]ThermalsStrength>=2",
                 f"[WeatherZone{z}]ThermalsInversionheight>=2000"]
        if z:
            text += [f"[WeatherZone{z}]PointCount{'>=3' if z < 3 else '=0'}",
                     f"[WeatherZone{z}]Name!=Base"]
    text += [""] + RULES_GLIDER.splitlines()
    text += ["", "# --- The task's area: every turnpoint inside the landscape"]
    for i in range(12):
        text += [f"TPPosX{i}>=-70000.0", f"TPPosX{i}<=100000.0", f"TPPosY{i}>-50000.0",
                 f"TPPosY{i}<50000.0"]
    text += ["", "# --- Each turnpoint's sector"]
    for i in range(2, 12):
        text += [f"TPRadius{i}>=300", f"TPAngle{i}!=0"]
    count = sum(1 for line in text if line and not line.startswith("#"))
    assert count == 200, count
    return "\r\n".join(text) + "\r\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out", help="folder to write (created)")
    parser.add_argument("--plans", type=int, default=10000)
    parser.add_argument("--seed", default="1")
    args = parser.parse_args()

    write_prefix(os.path.join(args.out, "prefix"))
    write_file(os.path.join(args.out, "rules", "DEFAULT_CHECK.fpl"), rules())
    plans = os.path.join(args.out, "plans")
    os.makedirs(plans, exist_ok=True)
    for k in range(args.plans):
        write_file(os.path.join(plans, f"p{k:05d}.fpl"), flight_plan(args.seed, k))


if __name__ == "__main__":
    main()
