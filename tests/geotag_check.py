#!/usr/bin/env python3
"""Geotagging as users check it: against the reference geotagger, over real camera photos, and
under SIGKILL. Usage: geotag_check.py BUILD_DIR {reference|lossless|kill|hostile} [CORPUS_DIR]

reference  the same logs (NMEA, then GPX) and photos geotagged by tolvane-convert and by
           exiftool -geotag with the same UTC times and limits; both must tag the same photos,
           at the same latitude and longitude (2e-7 degrees) and altitude (0.05 m).
lossless   every corpus photo with Exif: exiftool -a -G1 -s before and after differ only in the
           GPS group, file dates and offsets into the Exif block; no new warning; the same
           decoded pixels; a photo that is not written stays byte for byte the same.
kill       SIGKILL at random moments leaves each photo old or new and no other file.
hostile    corpus photos with damaged Exif blocks (bytes changed at random, the block cut
           short): the run never crashes, and a photo it changes keeps every byte outside its
           Exif segment.
Exit status 77 (skipped) when exiftool, djpeg or the corpus is missing."""
import datetime
import json
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

build = sys.argv[1]
mode = sys.argv[2]
converter = os.path.join(build, "tolvane-convert")
make_photos = os.path.join(build, "make_example_photos")
SKIP = 77

for tool in ("exiftool", "djpeg"):
    if shutil.which(tool) is None:
        print(f"{tool} is not installed: skipped")
        sys.exit(SKIP)

faults = []
T0 = datetime.datetime(2024, 3, 10, 14, 0, 0, tzinfo=datetime.timezone.utc)
GMT = -4  # Common.GMT of the runs: photos without a zone were taken on this clock
CAMERA_OFFSET = 37  # Common.photo_time_offset: the camera clock runs 37 s slow


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def tolvane(args, folder):
    ini = os.path.join(folder, "none.ini")  # absent: every default
    return run([converter, "--settings", ini] + args)


# --- the track: three pieces in two logs, south and west, altitudes below and above zero ----
def fixes():
    """(log index, seconds after T0, latitude, longitude, altitude)."""
    pieces = [(0, 0.0, 1000.0), (0, 3500.5, 4500.5), (1, 5700.0, 6700.0)]
    for log, start, end in pieces:
        t = start
        while t <= end + 1e-9:
            lat = -33.4372 - t * 1.3e-5 + (t % 37) * 1e-7
            lon = -70.6506 - t * 1.7e-5 + (t % 23) * 1e-7
            alt = -48.25 + t * 0.0271
            yield log, t, lat, lon, alt
            t += 5.0


def nmea_coordinate(value, width, positive, negative):
    degrees = int(abs(value))
    minutes = (abs(value) - degrees) * 60
    return f"{degrees:0{width}d}{minutes:09.6f}", positive if value >= 0 else negative


def with_checksum(body):
    checksum = 0
    for c in body:
        checksum ^= ord(c)
    return f"${body}*{checksum:02X}\r\n"


def write_logs(folder, kind):
    """The two logs as NMEA or GPX; returns their paths. GPX gets the NMEA text's positions."""
    logs = [[], []]
    for log, t, lat, lon, alt in fixes():
        logs[log].append((t, lat, lon, alt))
    paths = []
    for index, points in enumerate(logs):
        path = os.path.join(folder, f"log{index}.{'gpx' if kind == 'gpx' else 'log'}")
        paths.append(path)
        with open(path, "w", newline="") as out:
            if kind == "gpx":
                out.write('<?xml version="1.0"?>\n<gpx version="1.1" creator="test" '
                          'xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>\n')
            for t, lat, lon, alt in points:
                when = T0 + datetime.timedelta(seconds=t)
                lat_text, ns = nmea_coordinate(lat, 2, "N", "S")
                lon_text, ew = nmea_coordinate(lon, 3, "E", "W")
                if kind == "gpx":
                    # The same value as the NMEA text: degrees plus minutes / 60.
                    lat_value = (int(lat_text[:2]) + float(lat_text[2:]) / 60) * (-1 if ns == "S" else 1)
                    lon_value = (int(lon_text[:3]) + float(lon_text[3:]) / 60) * (-1 if ew == "W" else 1)
                    stamp = when.strftime("%Y-%m-%dT%H:%M:%S") + f".{when.microsecond // 1000:03d}Z"
                    out.write(f'<trkpt lat="{lat_value:.10f}" lon="{lon_value:.10f}">'
                              f"<ele>{alt:.3f}</ele><time>{stamp}</time></trkpt>\n")
                else:
                    hms = when.strftime("%H%M%S") + f".{when.microsecond // 10000:02d}"
                    date = when.strftime("%d%m%y")
                    out.write(with_checksum(f"GPGGA,{hms},{lat_text},{ns},{lon_text},{ew},1,08,0.9,"
                                            f"{alt:.2f},M,30.0,M,,0000"))
                    out.write(with_checksum(f"GPRMC,{hms},A,{lat_text},{ns},{lon_text},{ew},"
                                            f"3.50,212.40,{date},,,A"))
            if kind == "gpx":
                out.write("</trkseg></trk></gpx>\n")
    return paths


# Photos by their UTC time after T0; some carry their own zone.
PHOTOS = [
    ("on_a_fix", 100, None),
    ("between", 102, None),
    ("between_fractional", 3503, None),
    ("zone_plus9", 403, "+09:00"),
    ("zone_minus0330", 3777, "-03:30"),
    ("gap_near_start", 1600, None),
    ("gap_middle", 2250, None),
    ("gap_near_end", 3100, None),
    ("before_within", -900, None),
    ("before_beyond", -2000, None),
    ("after_within", 6700 + 1000, None),
    ("after_beyond", 6700 + 1900, None),
    ("between_logs", 5000, None),
    ("between_logs_late", 5690, None),
    ("last_fix", 6700, None),
]


def make_photo_set(folder):
    """One photo per case, its DateTimeOriginal (and zone) set as the camera would have."""
    os.makedirs(folder)
    base = os.path.join(folder, "base")
    os.makedirs(base)
    subprocess.run([make_photos, base, "1", "2024:01:01 00:00:00", "1", "64", "48"], check=True)
    source = os.path.join(base, os.listdir(base)[0])
    arguments = []
    for name, seconds, zone in PHOTOS:
        utc = T0 + datetime.timedelta(seconds=seconds)
        zone_minutes = 0
        if zone:
            zone_minutes = (1 if zone[0] == "+" else -1) * (int(zone[1:3]) * 60 + int(zone[4:6]))
        else:
            zone_minutes = GMT * 60
        camera = utc + datetime.timedelta(minutes=zone_minutes) - datetime.timedelta(seconds=CAMERA_OFFSET)
        path = os.path.join(folder, name + ".jpg")
        shutil.copyfile(source, path)
        arguments += ["-DateTimeOriginal=" + camera.strftime("%Y:%m:%d %H:%M:%S")]
        if zone:
            arguments += ["-OffsetTimeOriginal=" + zone]
        arguments += ["-q", "-overwrite_original", path, "-execute"]
    shutil.rmtree(base)
    args_file = os.path.join(folder, "..", "set_times.args")
    with open(args_file, "w") as out:
        out.write("\n".join(arguments[:-1]) + "\n")
    subprocess.run(["exiftool", "-q", "-@", args_file], check=True)


def positions(folder):
    result = run(["exiftool", "-j", "-n", "-Composite:GPSLatitude", "-Composite:GPSLongitude",
                  "-Composite:GPSAltitude", folder])
    found = {}
    for entry in json.loads(result.stdout or "[]"):
        name = os.path.splitext(os.path.basename(entry["SourceFile"]))[0]
        if "GPSLatitude" in entry:
            found[name] = (entry["GPSLatitude"], entry["GPSLongitude"], entry.get("GPSAltitude"))
    return found


def reference(work):
    for kind in ("nmea", "gpx"):
        for max_gap, max_extrapolation in ((1800, 1800), (600, 900)):
            case = os.path.join(work, f"{kind}_{max_gap}_{max_extrapolation}")
            os.makedirs(case)
            logs = write_logs(case, kind)
            ours, theirs = os.path.join(case, "ours"), os.path.join(case, "theirs")
            make_photo_set(ours)
            shutil.copytree(ours, theirs)
            photos = sorted(os.path.join(ours, f) for f in os.listdir(ours))
            outcome = tolvane(["--set", f"Common.GMT={GMT}",
                               "--set", f"Common.photo_time_offset={CAMERA_OFFSET}",
                               "--set", f"Common.geotag_max_gap={max_gap}",
                               "--set", f"Common.geotag_max_extrapolation={max_extrapolation}",
                               "--geotag", "--verbose"] + logs + photos, case)
            if outcome.returncode != 0:
                faults.append(f"{case}: exit {outcome.returncode}: {outcome.stderr}")
            arguments = []
            for name, seconds, _ in PHOTOS:
                utc = T0 + datetime.timedelta(seconds=seconds)
                arguments += [f"-geotag={log}" for log in logs]
                arguments += ["-geotime=" + utc.strftime("%Y:%m:%d %H:%M:%S") + "+00:00",
                              "-api", f"GeoMaxIntSecs={max_gap}",
                              "-api", f"GeoMaxExtSecs={max_extrapolation}",
                              "-q", "-q", "-overwrite_original", os.path.join(theirs, name + ".jpg"),
                              "-execute"]
            args_file = os.path.join(case, "geotag.args")
            with open(args_file, "w") as out:
                out.write("\n".join(arguments[:-1]) + "\n")
            run(["exiftool", "-q", "-q", "-@", args_file])
            mine, reference_positions = positions(ours), positions(theirs)
            print(f"{kind} {max_gap}/{max_extrapolation}: {len(mine)} tagged, reference "
                  f"{len(reference_positions)}")
            for name, _, _ in PHOTOS:
                a, b = mine.get(name), reference_positions.get(name)
                where = f"{kind}, limits {max_gap}/{max_extrapolation}, {name}"
                if (a is None) != (b is None):
                    faults.append(f"{where}: tagged {a is not None}, reference {b is not None}")
                    continue
                if a is None:
                    continue
                if abs(a[0] - b[0]) > 2e-7 or abs(a[1] - b[1]) > 2e-7:
                    faults.append(f"{where}: position {a[:2]}, reference {b[:2]}")
                if (a[2] is None) != (b[2] is None) or (
                        a[2] is not None and abs(a[2] - b[2]) > 0.05):
                    faults.append(f"{where}: altitude {a[2]}, reference {b[2]}")
            if len(mine) < 8:
                faults.append(f"{kind}: only {len(mine)} photos tagged")


# Tags whose values are offsets into the Exif block, which move when it is laid out anew.
def is_offset_tag(name):
    return name.endswith("Offset") or name.endswith("Start") or name.endswith("Offsets")


def tag_lines(path):
    lines = []
    for line in run(["exiftool", "-a", "-G1", "-s", path]).stdout.splitlines():
        group = line[1:line.index("]")]
        name = line[line.index("]") + 1:].split(":")[0].strip()
        if group in ("System", "GPS", "Composite") or name == "ExifToolVersion":
            continue
        if is_offset_tag(name):
            continue
        lines.append(line)
    return sorted(lines)


def pixels(path):
    return subprocess.run(["djpeg", "-ppm", path], capture_output=True).stdout


def lossless(work, corpus):
    photos_dir = os.path.join(corpus, "photos")
    if not os.path.isdir(photos_dir):
        print("no corpus photos: skipped")
        sys.exit(SKIP)
    originals = sorted(f for f in os.listdir(photos_dir) if f.lower().endswith((".jpg", ".jpeg")))
    folder = os.path.join(work, "photos")
    os.makedirs(folder)
    for name in originals:
        shutil.copyfile(os.path.join(photos_dir, name), os.path.join(folder, name))
    log = write_logs(work, "nmea")[0]
    # Every photo with a capture time takes the nearest fix, whenever it was taken.
    outcome = tolvane(["--set", "Common.geotag_max_extrapolation=2000000000", "--geotag",
                       "--overwrite-gps", log] + [os.path.join(folder, n) for n in originals], work)
    written = 0
    for name in originals:
        before, after = os.path.join(photos_dir, name), os.path.join(folder, name)
        with open(before, "rb") as a, open(after, "rb") as b:
            if a.read() == b.read():
                continue  # left alone, and named in a message
        written += 1
        old, new = tag_lines(before), tag_lines(after)
        if old != new:
            faults.append(f"{name}: tags differ: " +
                          str(sorted(set(old) ^ set(new)))[:400])
        if pixels(before) != pixels(after):
            faults.append(f"{name}: decoded pixels differ")
        if "GPSLatitude" not in run(["exiftool", "-s", "-GPSLatitude", after]).stdout:
            faults.append(f"{name}: changed, but holds no position")
    # A photo left alone is named in a message; the others were written.
    for line in outcome.stderr.splitlines():
        if line.startswith("Tolvane: ") and os.path.basename(line.split(" (")[0]) not in originals:
            faults.append("a message names no photo: " + line)
    # Every written photo is read again as these programs read it: its time, and its position.
    again = tolvane(["--set", "Common.geotag_max_extrapolation=2000000000", "--geotag",
                     "--dry-run", log] + [os.path.join(folder, n) for n in originals], work)
    if again.stdout.count("\thas a position\n") != written:
        faults.append("a written photo does not read back with its time and position: " +
                      again.stdout + again.stderr)
    if written < len(originals) // 2:
        faults.append(f"only {written} of {len(originals)} photos written: {outcome.stderr}")


def kill(work):
    folder = os.path.join(work, "photos")
    os.makedirs(folder)
    subprocess.run([make_photos, folder, "200", "2024:03:10 10:00:05", "17", "320", "240"],
                   check=True)
    logs = write_logs(work, "nmea")
    settings = ["--set", f"Common.GMT={GMT}"]
    names = sorted(os.listdir(folder))
    original = {n: open(os.path.join(folder, n), "rb").read() for n in names}
    reference_dir = os.path.join(work, "reference")
    shutil.copytree(folder, reference_dir)
    tolvane(settings + ["--geotag"] + logs +
            [os.path.join(reference_dir, n) for n in names], work)
    new = {n: open(os.path.join(reference_dir, n), "rb").read() for n in names}
    if sum(new[n] != original[n] for n in names) < 150:
        faults.append("the reference run tagged too few photos")
        return
    rng = random.Random(17)
    for attempt in range(8):
        child = subprocess.Popen([converter, "--settings", os.path.join(work, "none.ini")] +
                                 settings + ["--geotag"] + logs +
                                 [os.path.join(folder, n) for n in names],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(rng.uniform(0.0, 0.4))
        child.send_signal(signal.SIGKILL)
        child.wait()
        present = sorted(os.listdir(folder))
        if present != names:
            faults.append(f"kill {attempt}: other files: {sorted(set(present) - set(names))}")
        for n in names:
            data = open(os.path.join(folder, n), "rb").read()
            if data != original[n] and data != new[n]:
                faults.append(f"kill {attempt}: {n} is neither the old nor the new photo")
    tolvane(settings + ["--geotag"] + logs + [os.path.join(folder, n) for n in names], work)
    for n in names:
        if open(os.path.join(folder, n), "rb").read() != new[n]:
            faults.append(f"after the last run {n} is not the new photo")


def exif_segment(data):
    """(start, end) of the first Exif APP1 segment before the image data, or None."""
    at = 2
    while at + 4 <= len(data) and data[at] == 0xFF:
        marker, length = data[at + 1], int.from_bytes(data[at + 2:at + 4], "big")
        if marker == 0xDA:
            return None
        if marker == 0xE1 and data[at + 4:at + 10] == b"Exif\0\0":
            return at, at + 2 + length
        at += 2 + length
    return None


def hostile(work, corpus):
    photos_dir = os.path.join(corpus, "photos")
    if not os.path.isdir(photos_dir):
        print("no corpus photos: skipped")
        sys.exit(SKIP)
    folder = os.path.join(work, "photos")
    os.makedirs(folder)
    rng = random.Random(23)
    made = {}
    for name in sorted(os.listdir(photos_dir)):
        if not name.lower().endswith((".jpg", ".jpeg")):
            continue
        data = open(os.path.join(photos_dir, name), "rb").read()
        segment = exif_segment(data)
        if segment is None:
            continue
        start, end = segment
        for variant in range(6):
            damaged = bytearray(data)
            if variant == 5:  # the block cut short, its length left as it was
                cut = rng.randrange(start + 10, end)
                damaged[cut:end] = bytes(end - cut)
            else:
                for _ in range(1 + variant * 3):
                    at = rng.randrange(start + 10, end)
                    damaged[at] = rng.randrange(256)
            path = os.path.join(folder, f"{variant}_{name}")
            with open(path, "wb") as out:
                out.write(damaged)
            made[path] = (bytes(damaged), end)
    log = write_logs(work, "nmea")[0]
    outcome = tolvane(["--set", "Common.geotag_max_extrapolation=2000000000", "--geotag",
                       "--overwrite-gps", log] + sorted(made), work)
    if outcome.returncode not in (0, 1):
        faults.append(f"exit status {outcome.returncode}: {outcome.stderr[-2000:]}")
    for path, (before, end) in made.items():
        after = open(path, "rb").read()
        if after == before:
            continue
        segment = exif_segment(after)
        if segment is None or after[segment[1]:] != before[end:] or after[:segment[0]] != before[:segment[0]]:
            faults.append(f"{os.path.basename(path)}: changed outside its Exif segment")
    print(f"{len(made)} damaged photos, "
          f"{sum(open(p, 'rb').read() != b for p, (b, _) in made.items())} written")


work = tempfile.mkdtemp(prefix="geotag_check_")
try:
    if mode == "reference":
        reference(work)
    elif mode == "lossless":
        lossless(work, sys.argv[3] if len(sys.argv) > 3 else "")
    elif mode == "kill":
        kill(work)
    elif mode == "hostile":
        hostile(work, sys.argv[3] if len(sys.argv) > 3 else "")
    else:
        sys.exit(f"unknown mode {mode}")
finally:
    shutil.rmtree(work, ignore_errors=True)
for fault in faults:
    print(fault, file=sys.stderr)
sys.exit(1 if faults else 0)
