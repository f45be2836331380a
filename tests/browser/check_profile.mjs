// The profile strip under the built-in map in headless Chromium: pages of the example log and
// of generated logs (reception lost, across local midnight, without altitude, one point, a whole
// day at one point a second). The trip's numbers are computed here again from the logs by their
// definitions and compared with the page and with --stats; the strip's area and line are looked
// for at the pixels of independently read values; the cursor follows the replay and a click on
// the strip moves the replay.
//
//   node check_profile.mjs --convert BUILD/tolvane-convert --log LOG --work DIR [--chromium PATH]
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import test from "node:test";
import assert from "node:assert/strict";
import { launchBrowser, openPage, option, pauseClock, readOutShows } from "./browser_session.mjs";

const convert = path.resolve(option("--convert"));
const exampleLog = path.resolve(option("--log"));
const work = path.resolve(option("--work"));
const chromiumPath = option("--chromium", "/usr/bin/chromium");

fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(work, { recursive: true });

function converter(args) {
  return execFileSync(convert, ["--quiet", "--settings", path.join(work, "absent.ini"), ...args], {
    stdio: ["ignore", "pipe", "inherit"],
    encoding: "utf8",
    maxBuffer: 1 << 28,
  });
}

function writePage(name, logs, settings = []) {
  const out = path.join(work, `${name}.html`);
  converter(["--html", ...settings.flatMap((s) => ["--set", s]), "-o", out, ...logs]);
  return out;
}

// --stats as rows of named fields.
function statsOf(logs, settings = []) {
  const lines = converter(["--stats", ...settings.flatMap((s) => ["--set", s]), ...logs]).replace(/\n$/, "").split("\n");
  const names = lines[0].split("\t");
  return lines.slice(1).map((line) => Object.fromEntries(line.split("\t").map((v, i) => [names[i], v])));
}

// ---- The logs, read here on their own ------------------------------------------------------

// Points of an NMEA log: a GGA sentence gives the altitude, the next RMC sentence the rest.
function readNmea(text) {
  const points = [];
  let altitude = 0;
  const degrees = (field, hemisphere, width) => {
    const whole = Number(field.slice(0, width));
    const value = whole + Number(field.slice(width)) / 60;
    return Math.fround(hemisphere === "S" || hemisphere === "W" ? -value : value);
  };
  for (const line of text.split(/\r?\n/)) {
    const f = line.split(",");
    if (/^\$..GGA$/.test(f[0])) altitude = Math.fround(Number(f[9]));
    if (!/^\$..RMC$/.test(f[0]) || f[2] !== "A") continue;
    const t = f[1];
    const d = f[9];
    const utc = Date.UTC(2000 + Number(d.slice(4, 6)), Number(d.slice(2, 4)) - 1, Number(d.slice(0, 2)),
      Number(t.slice(0, 2)), Number(t.slice(2, 4)), Number(t.slice(4, 6))) / 1000;
    points.push({
      utc,
      lat: degrees(f[3], f[4], 2),
      lon: degrees(f[5], f[6], 3),
      kmh: Math.fround(Number(f[7]) * 1.852),
      alt: altitude,
    });
  }
  return points;
}

// Points of the simple GPX tracks written below (speed given, ele where present).
function readGpx(text) {
  return [...text.matchAll(/<trkpt lat="([-\d.]+)" lon="([-\d.]+)">(.*?)<\/trkpt>/g)].map((m) => {
    const ele = m[3].match(/<ele>([-\d.]+)<\/ele>/);
    return {
      utc: Date.parse(m[3].match(/<time>(.*?)<\/time>/)[1]) / 1000,
      lat: Math.fround(Number(m[1])),
      lon: Math.fround(Number(m[2])),
      kmh: Math.fround(Number(m[3].match(/<speed>(.*?)<\/speed>/)[1]) * 3.6),
      alt: ele ? Math.fround(Number(ele[1])) : NaN,
    };
  });
}

function readLog(file) {
  const text = fs.readFileSync(file, "utf8");
  return file.endsWith(".gpx") ? readGpx(text) : readNmea(text);
}

const RADIUS_KM = 20000 / Math.PI;
function chordKm(a, b) {
  const r = Math.PI / 180;
  const [p1, l1, p2, l2] = [a.lat * r, a.lon * r, b.lat * r, b.lon * r];
  const dx = Math.cos(p1) * Math.sin(l1) - Math.cos(p2) * Math.sin(l2);
  const dy = Math.cos(p1) * Math.cos(l1) - Math.cos(p2) * Math.cos(l2);
  const dz = Math.sin(p1) - Math.sin(p2);
  return Math.sqrt(dx * dx + dy * dy + dz * dz) * RADIUS_KM;
}

// The numbers by their definitions; `logs` in the run's order, local time UTC + `gmt` hours.
function tripNumbers(logs, gmt) {
  const fresh = (date) => ({ date, first: null, last: null, km: 0, movingS: 0, movingKm: 0, maxKmh: 0,
    ascent: 0, descent: 0, minAlt: Infinity, maxAlt: -Infinity, ref: NaN });
  const days = new Map();
  const total = fresh("total");
  const localOf = (p) => p.utc + gmt * 3600;
  const dateOf = (p) => new Date(localOf(p) * 1000).toISOString().slice(0, 10);
  const climb = (n, a) => {
    if (a !== a) return;
    n.minAlt = Math.min(n.minAlt, a);
    n.maxAlt = Math.max(n.maxAlt, a);
    if (n.ref !== n.ref) n.ref = a;
    else if (a >= n.ref + 5) { n.ascent += a - n.ref; n.ref = a; }
    else if (a <= n.ref - 5) { n.descent += n.ref - a; n.ref = a; }
  };
  for (const log of logs) {
    log.forEach((p, i) => {
      const date = dateOf(p);
      if (!days.has(date)) days.set(date, fresh(date));
      const day = days.get(date);
      for (const n of [day, total]) {
        if (n.first === null) n.first = localOf(p);
        n.last = localOf(p);
        climb(n, p.alt);
      }
      if (i > 0) {
        const q = log[i - 1];
        const km = chordKm(q, p);
        const gap = p.utc - q.utc;
        const moving = p.kmh >= 1 && gap >= 0 && gap <= 60;
        for (const n of [day, total]) {
          n.km += km;
          if (moving) { n.movingS += gap; n.movingKm += km; }
        }
      }
      if (i > 0 && i + 1 < log.length) {
        const s = [log[i - 1].kmh, p.kmh, log[i + 1].kmh].sort((a, b) => a - b)[1];
        day.maxKmh = Math.max(day.maxKmh, s);
        total.maxKmh = Math.max(total.maxKmh, s);
      }
    });
  }
  return { days: [...days.values()].sort((a, b) => (a.date < b.date ? -1 : 1)), total };
}

// The numbers as --stats prints them and as the page shows them, with the tolerances that floats
// read by two programs allow.
function assertStatsRow(row, n, what) {
  assert.equal(row.date, n.date, what);
  assert.equal(Number(row.elapsed_s), n.last - n.first, `${what} elapsed`);
  assert.equal(Number(row.moving_s), n.movingS, `${what} moving`);
  assert.ok(Math.abs(Number(row.distance_km) - n.km) < 0.002, `${what} distance ${row.distance_km} ${n.km}`);
  const average = n.movingS > 0 ? (n.movingKm * 3600) / n.movingS : 0;
  assert.ok(Math.abs(Number(row.avg_moving_kmh) - average) < 0.01, `${what} average ${row.avg_moving_kmh} ${average}`);
  assert.ok(Math.abs(Number(row.max_kmh) - n.maxKmh) < 0.006, `${what} maximum ${row.max_kmh} ${n.maxKmh}`);
  if (n.minAlt === Infinity) {
    for (const key of ["ascent_m", "descent_m", "min_alt_m", "max_alt_m"]) assert.equal(row[key], "", `${what} ${key}`);
  } else {
    assert.ok(Math.abs(Number(row.ascent_m) - n.ascent) < 0.06, `${what} ascent ${row.ascent_m} ${n.ascent}`);
    assert.ok(Math.abs(Number(row.descent_m) - n.descent) < 0.06, `${what} descent`);
    assert.ok(Math.abs(Number(row.min_alt_m) - n.minAlt) < 0.06, `${what} lowest`);
    assert.ok(Math.abs(Number(row.max_alt_m) - n.maxAlt) < 0.06, `${what} highest`);
  }
}

// The page's line for the same numbers: rounded to 0.1 km, h:mm, 0.1 km/h and whole metres.
function assertPageLine(text, row, what) {
  const number = (label, unit) => {
    const m = text.match(new RegExp(`${label} ([\\d.]+)${unit}`));
    assert.ok(m, `${what}: ${label} in ${text}`);
    return Number(m[1]);
  };
  const minutes = (label) => {
    const m = text.match(new RegExp(`${label} (\\d+):(\\d\\d)`));
    assert.ok(m, `${what}: ${label} in ${text}`);
    return Number(m[1]) * 60 + Number(m[2]);
  };
  assert.ok(Math.abs(number("距離", " km") - Number(row.distance_km)) <= 0.0501, `${what} distance`);
  assert.equal(minutes("経過時間"), Math.round(Number(row.elapsed_s) / 60), `${what} elapsed`);
  assert.equal(minutes("移動時間"), Math.round(Number(row.moving_s) / 60), `${what} moving`);
  assert.ok(Math.abs(number("平均移動速度", " km/h") - Number(row.avg_moving_kmh)) <= 0.0501, `${what} average`);
  assert.ok(Math.abs(number("最高速度", " km/h") - Number(row.max_kmh)) <= 0.0501, `${what} maximum`);
  if (row.min_alt_m === "") {
    assert.ok(!/上昇|標高/.test(text), `${what}: no altitude numbers`);
    return;
  }
  assert.ok(Math.abs(number("上昇", " m") - Number(row.ascent_m)) <= 0.501, `${what} ascent`);
  assert.ok(Math.abs(number("下降", " m") - Number(row.descent_m)) <= 0.501, `${what} descent`);
  const range = text.match(/標高 (-?\d+)〜(-?\d+) m/);
  assert.ok(range, `${what}: altitude range`);
  assert.ok(Math.abs(Number(range[1]) - Number(row.min_alt_m)) <= 0.501, `${what} lowest`);
  assert.ok(Math.abs(Number(range[2]) - Number(row.max_alt_m)) <= 0.501, `${what} highest`);
}

// ---- Generated logs ------------------------------------------------------------------------

function nmeaCoordinate(value, width) {
  const a = Math.abs(value);
  const whole = Math.floor(a);
  return String(whole).padStart(width, "0") + ((a - whole) * 60).toFixed(4).padStart(7, "0");
}

// One GGA/RMC pair a fix; fixes: {utc (s since 1970), lat, lon, knots, alt}.
function nmeaLog(fixes) {
  return fixes.map((f) => {
    const d = new Date(f.utc * 1000);
    const two = (n) => String(n).padStart(2, "0");
    const time = two(d.getUTCHours()) + two(d.getUTCMinutes()) + two(d.getUTCSeconds()) + ".000";
    const date = two(d.getUTCDate()) + two(d.getUTCMonth() + 1) + two(d.getUTCFullYear() % 100);
    const lat = `${nmeaCoordinate(f.lat, 2)},N`;
    const lon = `${nmeaCoordinate(f.lon, 3)},E`;
    return `$GPGGA,${time},${lat},${lon},1,08,0.9,${f.alt.toFixed(1)},M,39.5,M,,*47\r\n` +
      `$GPRMC,${time},A,${lat},${lon},${f.knots.toFixed(2)},90.00,${date},,,A*6A\r\n`;
  }).join("");
}

function writeLog(name, text) {
  const file = path.join(work, name);
  fs.writeFileSync(file, text);
  return file;
}

// A wandering track from `start` (UTC), `step` seconds apart: speed and altitude rise and fall,
// with a short speed spike every 97 points; `slow` spreads the speed's rise and fall over hours
// and leaves the spikes out (a day at 1 Hz would otherwise draw the line as a solid band).
function wandering(start, count, { step = 1, skip = () => 0, slow = false } = {}) {
  const fixes = [];
  let utc = start;
  for (let i = 0; i < count; i++) {
    utc += i === 0 ? 0 : step + skip(i);
    fixes.push({
      utc,
      lat: 35.6 + i * 0.00005 + 0.002 * Math.sin(i / 300),
      lon: 139.7 + i * 0.00004,
      knots: slow ? 8 + 6 * Math.sin(i / 4000) : 8 + 6 * Math.sin(i / 40) + (i % 97 === 0 ? 30 : 0),
      alt: 30 + 25 * Math.sin(i / 200) + (i % 13) * 0.7,
    });
  }
  return fixes;
}

// ---- The browser ---------------------------------------------------------------------------

// Opens a page; the errors it reports, apart from tiles that cannot be loaded offline.
async function openProfilePage(context, file) {
  const { page, errors } = await openPage(context, file);
  await page.clock.runFor(100);
  await pauseClock(page);
  await page.evaluate(() => document.getElementById("profile_strip")?.scrollIntoView());
  return { page, errors: () => errors.filter((e) => !e.startsWith("Failed to load resource")) };
}

// What the strip drew: its scale, the decoded data, and the canvas's pixels.
async function stripState(page) {
  return page.evaluate(() => {
    const s = profile.scale;
    const canvas = profile.canvas;
    const context = canvas.getContext("2d");
    const image = context.getImageData(0, 0, canvas.width, canvas.height);
    return {
      scale: { left: s.left, top: s.top, width: s.width, height: s.height, t0: s.t0, t1: s.t1,
        altitudeMin: s.altitudeMin, altitudeMax: s.altitudeMax, speedMax: s.speedMax },
      ratio: canvas.width / parseFloat(canvas.style.width),
      width: image.width,
      height: image.height,
      pixels: Array.from(image.data),
      count: profile.data.count,
      time: Array.from(profile.data.time),
      kmh: Array.from(profile.data.kmh),
      km: Array.from(profile.data.km),
      altitude: Array.from(profile.data.altitude, (a) => (a === a ? a : null)),
      gaps: Array.from(profile_gaps),
    };
  });
}

// The area's colour, fully covered; the line's blue, also where it only partly covers a pixel.
const AREA = (p) => p[3] > 200 && [0xd9, 0xc7, 0xa0].every((c, k) => Math.abs(p[k] - c) <= 24);
const SPEED = (p) => p[3] > 60 && p[2] - p[0] > 80;
function near(pixels, width, x, y, color) {
  const i = (y * width + x) * 4;
  return color(pixels.slice(i, i + 4));
}

// Checks the data and the drawing against the points read here; `points` in the run's order.
function assertStripDraws(state, points, gmt, what) {
  assert.equal(state.count, points.length, `${what}: a profile entry for every point`);
  const s = state.scale;
  const midnight = Math.floor((points[0].utc + gmt * 3600) / 86400) * 86400;
  const x = (t) => s.left + ((t - s.t0) / (s.t1 - s.t0)) * s.width;
  const yAlt = (a) => s.top + s.height - ((a - s.altitudeMin) / (s.altitudeMax - s.altitudeMin)) * s.height;
  const ySpeed = (v) => s.top + s.height - (v / s.speedMax) * s.height;
  const r = state.ratio;
  const samples = Math.min(points.length, 25);
  for (let k = 0; k < samples; k++) {
    const i = Math.round((k * (points.length - 1)) / Math.max(samples - 1, 1));
    const p = points[i];
    const t = p.utc + gmt * 3600 - midnight;
    assert.equal(state.time[i], t, `${what}: time of point ${i}`);
    assert.ok(Math.abs(state.kmh[i] - p.kmh) <= 0.0501, `${what}: speed of point ${i}`);
    if (p.alt !== p.alt) assert.equal(state.altitude[i], null, `${what}: point ${i} has no altitude`);
    else assert.ok(Math.abs(state.altitude[i] - p.alt) <= 0.501, `${what}: altitude of point ${i}`);
    if (s.t1 - s.t0 <= 0) continue;
    // The speed line passes through (x, y) of the speed: a line pixel within two pixels.
    const px = Math.round(x(t) * r);
    const column = (y0, y1, color) => {
      for (let y = Math.max(Math.floor(y0 * r) - 2, 0); y <= Math.min(Math.ceil(y1 * r) + 2, state.height - 1); y++) {
        for (let dx = -1; dx <= 1; dx++) {
          const cx = Math.min(Math.max(px + dx, 0), state.width - 1);
          if (near(state.pixels, state.width, cx, y, color)) return true;
        }
      }
      return false;
    };
    assert.ok(column(ySpeed(p.kmh), ySpeed(p.kmh), SPEED), `${what}: speed line at point ${i}`);
    const bottom = s.top + s.height;
    if (p.alt === p.alt && yAlt(p.alt) < bottom - 2) {
      // Filled just under the altitude's height.
      assert.ok(column(yAlt(p.alt) + 1, Math.min(yAlt(p.alt) + 6, bottom - 1), AREA), `${what}: area under point ${i}`);
    }
  }
}

// The cursor element sits on point `index`.
async function cursorOn(page, index) {
  return page.evaluate((i) => {
    const left = parseFloat(profile._cursor.style.left);
    return profile.cursorIndex === i && profile._cursor.style.display !== "none" &&
      Math.abs(left - (Math.round(profile.xOf(i)) - 1)) < 0.5;
  }, index);
}

const logs = {};
logs.example = [exampleLog];
// UTC 14:20 to 15:40 on 5 January 2008: local (UTC+9) midnight in between; 150 s without
// reception twice.
const crossing = wandering(Date.UTC(2008, 0, 5, 14, 20, 0) / 1000, 4000, {
  skip: (i) => (i === 1500 || i === 2600 ? 149 : 0),
});
logs.crossing = [writeLog("crossing.log", nmeaLog(crossing.slice(0, 2200))),
  writeLog("crossing2.log", nmeaLog(crossing.slice(2200)))];
logs.noAltitude = [writeLog("plain.gpx", "<gpx><trk><trkseg>" +
  [0, 1, 2, 3, 4].map((i) => `<trkpt lat="${35 + i * 0.001}" lon="139"><time>2024-05-18T0${i}:00:00Z</time>` +
    `<speed>${(3 + i).toFixed(1)}</speed></trkpt>`).join("") + "</trkseg></trk></gpx>")];
logs.onePoint = [writeLog("one.log", nmeaLog(wandering(Date.UTC(2024, 4, 18, 3, 0, 0) / 1000, 1)))];
logs.day = [writeLog("day.log", nmeaLog(wandering(Date.UTC(2024, 4, 17, 15, 0, 0) / 1000, 86400, { slow: true })))];

const { context, close } = await launchBrowser(chromiumPath);
context.setDefaultTimeout(120000); // the page of a whole day at 1 Hz on a loaded machine
test.after(close);

for (const [name, files] of Object.entries(logs)) {
  test(`${name}: the numbers, the data and the drawing`, async () => {
    const file = writePage(name, files);
    const { page, errors } = await openProfilePage(context, file);
    try {
      const expected = tripNumbers(files.map(readLog), 9);
      const rows = statsOf(files);
      assert.equal(rows.length, expected.days.length + 1, "one line a day and the total");
      expected.days.forEach((day, k) => assertStatsRow(rows[k], day, day.date));
      assertStatsRow(rows.at(-1), expected.total, "total");

      const lines = await page.$$eval(".trip_numbers", (nodes) => nodes.map((n) => n.textContent));
      assert.equal(lines.length, rows.length === 2 ? 1 : rows.length, "the total, and each day when several");
      assertPageLine(lines[0], rows.at(-1), "page total");
      for (let k = 1; k < lines.length; k++) assertPageLine(lines[k], rows[k - 1], `page day ${k}`);

      const strip = await page.evaluate(() => {
        const box = document.getElementById("profile_strip").getBoundingClientRect();
        const map = document.getElementById("map").getBoundingClientRect();
        return { width: box.width, height: box.height, under: box.top >= map.bottom, mapWidth: map.width };
      });
      assert.equal(strip.width, strip.mapWidth, "as wide as the map");
      assert.equal(strip.height, 120);
      assert.ok(strip.under, "under the map");

      const state = await stripState(page);
      assertStripDraws(state, files.flatMap(readLog), 9, name);
      assert.deepEqual(errors(), []);
    } finally {
      await page.close();
    }
  });
}

test("reception loss is shaded and midnight is marked", async () => {
  const { page } = await openProfilePage(context, path.join(work, "crossing.html"));
  try {
    const state = await stripState(page);
    // The two 150 s steps: each a lost stretch from the point before to the point after.
    assert.deepEqual(state.gaps, [1499, 1500, 2599, 2600]);
    const s = state.scale;
    const r = state.ratio;
    const x = (t) => Math.round((s.left + ((t - s.t0) / (s.t1 - s.t0)) * s.width) * r);
    const y = Math.round((s.top + 1) * r);
    const alpha = (px) => state.pixels[(y * state.width + px) * 4 + 3];
    const inGap = x((state.time[1499] + state.time[1500]) / 2);
    assert.ok(alpha(inGap) > 0, "the lost stretch is shaded");
    const midnight = x(86400);
    let dayMark = false;
    for (let py = Math.round(s.top * r); py < Math.round((s.top + s.height) * r); py++) {
      for (const dx of [-1, 0, 1]) {
        const i = (py * state.width + midnight + dx) * 4;
        if (state.pixels[i] > 150 && state.pixels[i + 1] < 100 && state.pixels[i + 2] < 100 && state.pixels[i + 3] > 100) dayMark = true;
      }
    }
    assert.ok(dayMark, "the change of date is marked");
  } finally {
    await page.close();
  }
});

test("the cursor follows play, forward, back and start; a click on the strip moves the replay", async () => {
  const { page, errors } = await openProfilePage(context, path.join(work, "example.html"));
  try {
    assert.ok(await cursorOn(page, 0), "on the first point at the start");
    await page.evaluate(() => playRoute());
    await page.clock.runFor(512 * 6);
    await page.evaluate(() => stopRoute());
    const shown = await page.evaluate(() => playPoint - 1);
    assert.ok(shown > 0);
    assert.ok(await cursorOn(page, shown), "after play");
    await page.evaluate(() => FwdRoute());
    const forward = await page.evaluate(() => playPoint);
    assert.ok(await cursorOn(page, forward), "after forward");
    await page.evaluate(() => RwdRoute());
    assert.ok(await cursorOn(page, forward - 20), "after back");
    await page.evaluate(() => rewindRoute());
    assert.ok(await cursorOn(page, 0), "after start");

    // The strip is not drawn again for a step: the canvas stays the same element and pixels.
    const before = await page.evaluate(() => profile.canvas.toDataURL());
    await page.evaluate(() => FwdRoute());
    assert.equal(await page.evaluate(() => profile.canvas.toDataURL()), before);

    // Pointing shows the point's read-out and a marker on the map; a click moves the replay.
    const target = await page.evaluate(() => {
      const i = Math.floor(profile.data.count * 0.6);
      const box = document.getElementById("profile_strip").getBoundingClientRect();
      const j = profile._columns[Math.round(profile.xOf(i) - profile.scale.left)];
      return { x: box.left + profile.xOf(j), y: box.top + 60, index: j };
    });
    await page.mouse.move(target.x, target.y);
    const hover = await page.evaluate(() => ({
      index: profile.pointIndex,
      text: profile._readout.textContent,
      shown: profile._readout.style.display !== "none",
      marker: profile._marker && map._leaflet.hasLayer(profile._marker) ? profile._marker.getLatLng() : null,
      point: [points[profile.pointIndex].lat(), points[profile.pointIndex].lng()],
      expected: profile.readout(profile.pointIndex),
    }));
    assert.equal(hover.index, target.index);
    assert.ok(hover.shown);
    assert.equal(hover.text, hover.expected);
    assert.match(hover.text, /^\d\d:\d\d:\d\d {2}-?\d+ m {2}\d+\.\d km\/h {2}\d+\.\d km$/);
    assert.deepEqual([hover.marker.lat, hover.marker.lng], hover.point, "the map marker on the point");
    await page.mouse.click(target.x, target.y);
    await page.clock.runFor(600);
    assert.equal(await page.evaluate(() => playPoint), target.index, "the replay moved there");
    assert.ok(await readOutShows(page, target.index), "the read-out follows");
    assert.ok(await cursorOn(page, target.index), "the cursor follows");
    const centre = await page.evaluate(() => [map.getCenter().lat(), map.getCenter().lng()]);
    assert.ok(Math.abs(centre[0] - hover.point[0]) < 1e-4 && Math.abs(centre[1] - hover.point[1]) < 1e-4,
      "the map follows");
    await page.evaluate(() => playRoute());
    await page.clock.runFor(512 * 2);
    await page.evaluate(() => stopRoute());
    const after = await page.evaluate(() => playPoint - 1);
    assert.ok(after > target.index && after <= target.index + 3, "play goes on from there");
    assert.ok(await cursorOn(page, after));
    await page.mouse.move(target.x, target.y + 200);
    assert.equal(await page.evaluate(() => profile._readout.style.display), "none");
    assert.deepEqual(errors(), []);
  } finally {
    await page.close();
  }
});

test("profile 0: no strip, no numbers, none of its script", async () => {
  const file = writePage("no-profile", logs.example, ["GoogleMaps.profile=0"]);
  const html = fs.readFileSync(file, "utf8");
  assert.ok(!/profile|ProfileStrip|trip_numbers/i.test(html));
  const { page, errors } = await openProfilePage(context, file);
  try {
    assert.equal(await page.evaluate(() => document.getElementById("profile_strip")), null);
    assert.deepEqual(errors(), []);
  } finally {
    await page.close();
  }
});

test("the strip's data grows the page by at most 12 bytes a point", () => {
  const withStrip = fs.statSync(path.join(work, "day.html")).size;
  const without = fs.statSync(writePage("day-no-profile", logs.day, ["GoogleMaps.profile=0"])).size;
  const perPoint = (withStrip - without) / 86400;
  assert.ok(perPoint <= 12, `${perPoint.toFixed(2)} bytes a point`);
});
