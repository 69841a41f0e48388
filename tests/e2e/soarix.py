"""Stand-ins for the simulator: a Wine-prefix folder with Soarix installed, and flight plans.

A prefix holds what the program reads of a Windows machine with the simulator: the current
user's registry (user.reg, in Wine's format), the installation folders (Soarix.exe, the log file
that states the version, a landscape with its airspace file) and the user's documents folder
(the flight-plan folder and the last pilot's FlightPlan.fpl).
"""

import os

# The Windows folders of the stand-in installations, and the user's profile.
INSTALL_DIR = {3: "C:\\Program Files\\Soarix3", 2: "C:\\Games\\Soarix2"}
PROFILE = "C:\\users\\organiser"
DOCS_FOLDER = {3: "Soarix3", 2: "Soarix"}  # the user-files folder under Documents
PILOT = {3: "Ann", 2: "Bob"}
LANDSCAPE = "Alps"


def reg_text(text):
    """A Windows text as Wine writes it in a .reg file: beyond ASCII, UTF-16 code units."""
    escaped = text.replace("\\", "\\\\").replace('"', '\\"')
    return "".join(c if ord(c) < 128 else f"\\x{ord(c):04x}" for c in escaped)


SOARIX_KEYS = {2: "Software\\Soarix2", 3: "Software\\Soarix3"}
SHELL_FOLDERS = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"


class SoarixPrefix:
    """A Wine prefix in `folder` with the given major versions of the simulator installed.

    `registered` lists versions whose registry key exists without a confirmed installation
    (no Soarix.exe)."""

    def __init__(self, folder, versions=(3,), registered=(), log_version=None, install_dirs=None):
        self.folder = folder
        self.versions = tuple(versions)
        self.registered = self.versions + tuple(registered)
        self.install_dirs = {**INSTALL_DIR, **(install_dirs or {})}
        self.changed = {}  # (key, name): the values set after the installation
        os.makedirs(folder, exist_ok=True)
        for v in self.registered:
            self._install(v, confirmed=v in self.versions, log_version=log_version)
        self.write_user_reg()

    def native(self, windows_path):
        """The file of the prefix that a C: path names."""
        assert windows_path[:3].upper() == "C:\\", windows_path
        return os.path.join(self.folder, "drive_c", *windows_path[3:].split("\\"))

    def install_dir(self, version):
        return self.native(self.install_dirs[version])

    def windows_folders(self):
        """The Windows folders of the installations and of the user's profile."""
        return [self.install_dirs[v] for v in self.registered] + [PROFILE]

    def registry(self):
        """The current user's registry values that the simulator and Windows hold: (key below
        HKEY_CURRENT_USER, name, text)."""
        values = [(SHELL_FOLDERS, "Personal", "%USERPROFILE%\\Documents")]
        for v in sorted(self.registered):
            values += [(SOARIX_KEYS[v], "InstallDir", self.install_dirs[v]),
                       (SOARIX_KEYS[v], "LastPlayer", PILOT[v])]
        values.append(("Volatile Environment", "USERPROFILE", PROFILE))
        changed = dict(self.changed)
        values = [(k, n, changed.pop((k, n), v)) for k, n, v in values]
        return values + [(k, n, v) for (k, n), v in changed.items()]

    def set_value(self, key, name, value):
        """Sets a registry value below HKEY_CURRENT_USER, as a user would with Wine's reg."""
        self.changed[(key, name)] = value
        self.write_user_reg()

    def log_file(self, version):
        return os.path.join(self.install_dir(version), "Logs", "Logfile.txt")

    def user_files(self, version):
        return self.native(PROFILE + "\\Documents\\" + DOCS_FOLDER[version])

    def flight_plans(self, version=3):
        """The folder the plans dialog opens in when `version` is active."""
        return os.path.join(self.user_files(version), "FlightPlans")

    def pilot_plan(self, version):
        """The last pilot's FlightPlan.fpl, whose date tells which version was used last."""
        return os.path.join(self.user_files(version), "Pilots", PILOT[version], "FlightPlan.fpl")

    def _install(self, version, confirmed, log_version):
        inst = self.install_dir(version)
        os.makedirs(os.path.join(inst, "Logs"), exist_ok=True)
        if confirmed:
            write_file(os.path.join(inst, "Soarix.exe"), b"MZ stand-in")
        stated = log_version or version * 1000
        write_file(os.path.join(inst, "Logs", "Logfile.txt"),
                   f"Soarix log started\r\nSoarix version: {stated}\r\nRenderer: OpenGL\r\n")
        air = os.path.join(inst, "Landscapes", LANDSCAPE, LANDSCAPE + ".air")
        write_file(air, "AC R\r\nAN Zone one\r\n*\r\nAC Q\r\nAN Zone two\r\n*\r\n")
        os.makedirs(self.flight_plans(version), exist_ok=True)
        write_file(self.pilot_plan(version), flight_plan(version=version))

    def write_user_reg(self):
        """user.reg, as Wine keeps it, with the values of registry() (the documents folder an
        expandable text)."""
        lines = ["WINE REGISTRY Version 2",
                 ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000", "",
                 "#arch=win64", ""]
        key = None
        for k, name, value in self.registry():
            if k != key:
                lines += ([""] if key else []) + [f"[{reg_text(k)}] 1796692303",
                                                   "#time=1dd86b1169cb7a6"]
                key = k
            kind = "str(2):" if name == "Personal" else ""
            lines.append(f'"{name}"={kind}"{reg_text(value)}"')
        write_file(os.path.join(self.folder, "user.reg"), "\n".join(lines + [""]))


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data.encode("cp1252") if isinstance(data, str) else data)
    return path


# ---- Flight plans -------------------------------------------------------------------------

TURNPOINT_KEYS = ["Name", "PosX", "PosY", "PosZ", "Airport", "SectorType", "SectorDirection",
                  "Radius", "Angle", "Altitude", "Width", "Height", "Azimuth"]

OPTIONS = [("PZCount", "0"), ("StartTime", "13.0"), ("StartTimeWindow", "1.0"),
           ("AATTime", "0.0"), ("AAT", "0"), ("TaskDate", "46000"), ("AllowPDA", "0"),
           ("AllowPlaneRecovery", "0"), ("PenaltyCloudFlying", "60"),
           ("PenaltyPlaneRecovery", "0"), ("MaxStartGroundSpeed", "160"), ("StartType", "1"),
           ("StartHeight", "1200")]

ZONE = [("Name", "Zone"), ("PointCount", "0"), ("WindDir", "270"), ("WindSpeed", "10"),
        ("ThermalsTemp", "24"), ("ThermalsDew", "9"), ("ThermalsStrength", "3"),
        ("ThermalsInversionheight", "3200"), ("Pressure", "1015")]

PLANE = [("Name", "LS4"), ("Class", "Standard"), ("Water", "0")]


def turnpoint_defaults(i, count):
    """Take-off (0), a start line with its altitude window (1), turnpoints, the finish."""
    tp = {"Name": f"TP{i}", "PosX": f"{10000 + 5000 * i}.0", "PosY": "0.0", "PosZ": "450.0",
          "Airport": "0", "SectorType": "1", "SectorDirection": "0", "Radius": "1000",
          "Angle": "360", "Altitude": "1500", "Width": "0", "Height": "0", "Azimuth": "0.0"}
    if i == 0:
        tp.update(Name="Takeoff", Airport="1")
    elif i == 1:
        tp.update(Name="Start", SectorType="0", Width="1000", Height="1500")
    elif i == count - 1:
        tp.update(Name="Finish", Radius="3000")
    return tp


def merged(defaults, overrides):
    """Key/value pairs in their default order, then the overriding keys that are new."""
    overrides = dict(overrides or {})
    pairs = [(k, overrides.pop(k, v)) for k, v in defaults]
    return pairs + list(overrides.items())


def flight_plan(count=4, tp=None, options=None, zones=None, plane=None, version=3):
    """The text of a flight plan with `count` turnpoints.

    tp: {index: {key: value}} for turnpoint keys ("Height" gives TPHeight<index>);
    options: [Task] keys after the turnpoints; zones: one dict of keys per weather zone
    (default: two zones); plane: [Plane] keys. Lines end with CR LF, as the simulator writes
    them."""
    tp = tp or {}
    zones = zones if zones is not None else [{}, {}]
    lines = ["[Version]", f"Soarix version={version * 1000}", "", "[Task]",
             f"Landscape={LANDSCAPE}", f"Count={count}"]
    for i in range(count):
        values = turnpoint_defaults(i, count)
        values.update(tp.get(i, {}))
        lines += [f"TP{k}{i}={values[k]}" for k in TURNPOINT_KEYS]
    lines += [f"{k}={v}" for k, v in merged(OPTIONS, options)]
    lines += ["", "[Weather]", f"WZCount={len(zones)}", "RandomizeWeatherOnEachFlight=0"]
    for n, zone in enumerate(zones):
        lines += ["", f"[WeatherZone{n}]"]
        lines += [f"{k}={v}" for k, v in merged(ZONE, zone)]
    lines += ["", "[Plane]"] + [f"{k}={v}" for k, v in merged(PLANE, plane)]
    lines += [""]
    return "\r\n".join(lines)
