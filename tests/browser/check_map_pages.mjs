// Opens map pages written by tolvane-convert in headless Chromium, with a stand-in for the map
// API in place of its loader, and checks what the page's script does: loading without errors,
// markers and polylines, replay, jumps, the clock face, the altitude gauge, the overlay switch
// and marker clicks.
//
//   node check_map_pages.mjs --convert BUILD/tolvane-convert --log LOG --work DIR [--chromium PATH]
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import test from "node:test";
import assert from "node:assert/strict";
import { launchBrowser, openPage, option, pauseClock, readOutShows } from "./browser_session.mjs";

const convert = option("--convert");
const logFile = option("--log");
const work = option("--work");
const chromiumPath = option("--chromium", "/usr/bin/chromium");

// The page switches of every combination, and the settings that give them.
const combinations = [];
for (const route of [1, 0]) {
  for (const analog of [1, 0]) {
    for (const altitude of [1, 0]) {
      for (const heading of [1, 0]) combinations.push({ route, analog, altitude, heading });
    }
  }
}
const nameOf = (c) => `r${c.route}a${c.analog}h${c.altitude}i${c.heading}`;

function writePage(c) {
  fs.mkdirSync(work, { recursive: true });
  const out = path.join(work, `${nameOf(c)}.html`);
  const settings = [
    `GoogleMaps.route=${c.route}`,
    `GoogleMaps.show_analog=${c.analog}`,
    `GoogleMaps.show_altitude=${c.altitude}`,
    `GoogleMaps.direction_icon=${c.heading}`,
    "GoogleMaps.builtin_map=0",
  ];
  const args = ["--quiet", "--settings", path.join(work, "absent.ini"), "--html"];
  for (const s of settings) args.push("--set", s);
  args.push("-o", out, logFile);
  execFileSync(convert, args, { stdio: ["ignore", "inherit", "inherit"] });
  return out;
}

// What the page's text says should reach the map.
function pageData(html) {
  const markers = [...html.matchAll(
    /^ {4}map\.addOverlay\(createMarker(\d*)\(new GLatLng\((-?[\d.]+),(-?[\d.]+)\),"([^"]*)",(\d+)\)\);\r$/gm,
  )].map((m) => ({
    icon: m[1] === "" ? null : Number(m[1]),
    lat: Number(m[2]),
    lng: Number(m[3]),
    message: m[4],
    index: Number(m[5]),
  }));
  const points = [...html.matchAll(/^ {4}points\.push\(new GLatLng\((-?[\d.]+),(-?[\d.]+)\)\);\r$/gm)]
    .map((m) => [Number(m[1]), Number(m[2])]);
  const polylines = [...html.matchAll(
    /^ {4}map\.addOverlay\(new GPolyline\(points\.slice\((\d+), (\d+)\),'#(\w+)', (-?\d+), (-?[\d.]+)\)\);\r$/gm,
  )].map((m) => ({
    begin: Number(m[1]),
    end: Number(m[2]),
    color: `#${m[3]}`,
    weight: Number(m[4]),
    opacity: Number(m[5]),
  }));
  return { markers, points, polylines };
}

let context;
let closeBrowser;

test.before(async () => {
  ({ context, close: closeBrowser } = await launchBrowser(chromiumPath));
});

test.after(async () => {
  if (closeBrowser) await closeBrowser();
});

const open = (file) => openPage(context, file);

const state = (page) =>
  page.evaluate(() => ({
    playPoint,
    playing: typeof playing === "undefined" ? null : playing,
    count: points.length,
    lastPan: window.__mapApi.pans[window.__mapApi.pans.length - 1] || null,
    lastCenter: window.__mapApi.centers[window.__mapApi.centers.length - 1] || null,
  }));

const pointAt = (page, i) => page.evaluate((k) => [points[k].lat(), points[k].lng()], i);

// The overlay controls of the page (the map's own controls left out).
const overlayControls = (page) =>
  page.evaluate(() => window.__mapApi.maps[0].controls.filter((c) => !c.control.builtIn).length);

for (const c of combinations) {
  test(`page ${nameOf(c)}`, async (t) => {
    const file = writePage(c);
    const html = fs.readFileSync(file, "utf8");
    const data = pageData(html);
    const { page, errors } = await open(file);
    try {
      await t.test("loads without a script error", async () => {
        assert.deepEqual(errors, []);
        assert.equal(await page.evaluate(() => window.__mapApi.maps.length), 1);
      });

      await t.test("markers and polylines match the page's data", async () => {
        assert.ok(data.markers.length > 1, "the log gives several markers");
        assert.ok(data.polylines.length >= 1);
        const onMap = await page.evaluate(() => {
          const map = window.__mapApi.maps[0];
          const icons = [];
          for (let k = 0; k < 16; k++) icons.push(window[`icon${k}`]);
          return {
            points: points.map((p) => [p.lat(), p.lng()]),
            markers: map.overlays
              .filter((o) => o instanceof GMarker)
              .map((m) => ({
                lat: m.point.lat(),
                lng: m.point.lng(),
                icon: typeof icon === "undefined" ? icons.indexOf(m.icon) : m.icon === icon ? null : -2,
              })),
            polylines: map.overlays
              .filter((o) => o instanceof GPolyline)
              .map((p) => ({
                begin: points.indexOf(p.points[0]),
                end: points.indexOf(p.points[0]) + p.points.length,
                shared: p.points.every((q, k) => q === points[points.indexOf(p.points[0]) + k]),
                color: p.color,
                weight: p.weight,
                opacity: p.opacity,
              })),
          };
        });
        assert.deepEqual(onMap.points, data.points);
        assert.deepEqual(
          onMap.markers,
          data.markers.map((m) => ({ lat: m.lat, lng: m.lng, icon: m.icon })),
        );
        assert.deepEqual(
          onMap.polylines,
          data.polylines.map((p) => ({ ...p, shared: true })),
        );
        // Every marker stands on the point whose index it carries.
        // (markers carry seven decimals, points six, of the same position).
        for (const m of data.markers) {
          const [lat, lng] = data.points[m.index];
          assert.ok(Math.abs(lat - m.lat) <= 6e-7 && Math.abs(lng - m.lng) <= 6e-7, `${m.index}`);
        }
      });

      if (c.route) {
        await t.test("再生 advances the read-out and 停止 stops it", async () => {
          assert.ok(await readOutShows(page, 0), "the page opens on the first point");
          await pauseClock(page);
          await page.click('input[value="再生"]');
          let s = await state(page);
          assert.equal(s.playing, true);
          assert.equal(s.playPoint, 1);
          await page.clock.runFor(512 * 3);
          s = await state(page);
          assert.equal(s.playPoint, 4);
          assert.ok(await readOutShows(page, 3));
          assert.deepEqual(s.lastPan, await pointAt(page, 3));
          await page.click('input[value="停止"]');
          await page.clock.runFor(5000);
          s = await state(page);
          assert.equal(s.playing, false);
          assert.equal(s.playPoint, 4);
        });

        await t.test("早送り, 巻戻し and 出発点へ move by 20 points and to 0", async () => {
          await page.click('input[value="早送り"]');
          let s = await state(page);
          assert.equal(s.playPoint, 24);
          assert.ok(await readOutShows(page, 24));
          assert.deepEqual(s.lastPan, await pointAt(page, 24));
          if (c.analog) {
            assert.equal(await page.evaluate(() => prev_time === time_info[24]), true);
          }
          await page.click('input[value="巻戻し"]');
          s = await state(page);
          assert.equal(s.playPoint, 4);
          assert.ok(await readOutShows(page, 4));
          await page.click('input[value="巻戻し"]'); // below 20: nothing happens
          assert.equal((await state(page)).playPoint, 4);
          await page.click('input[value="出発点へ"]');
          s = await state(page);
          assert.equal(s.playPoint, 0);
          assert.ok(await readOutShows(page, 0));
          assert.deepEqual(s.lastCenter.slice(0, 2), await pointAt(page, 0));
          // Near the end a forward jump would leave the track: nothing happens.
          await page.evaluate(() => {
            playPoint = points.length - 20;
          });
          await page.click('input[value="早送り"]');
          assert.equal((await state(page)).playPoint, s.count - 20);
          await page.evaluate(() => {
            playPoint = 0;
          });
        });

        await t.test("表示on/off removes and restores the overlay controls", async () => {
          const shown = 2 + c.analog + c.altitude;
          assert.equal(await overlayControls(page), shown);
          await page.click('input[value="表示on/off"]');
          assert.equal(await overlayControls(page), 0);
          assert.equal(await page.evaluate(() => document.getElementById("time_value")), null);
          await page.click('input[value="表示on/off"]');
          assert.equal(await overlayControls(page), shown);
          assert.ok(await readOutShows(page, 0));
          assert.equal(
            await page.evaluate(() => document.getElementById("clock_value") !== null),
            Boolean(c.analog),
          );
          assert.equal(
            await page.evaluate(() => document.getElementById("alt_value") !== null),
            Boolean(c.altitude),
          );
        });
      }

      await t.test("a marker click moves the replay or opens the information window", async () => {
        const marker = data.markers[1];
        await page.evaluate((k) => {
          const markers = window.__mapApi.maps[0].overlays.filter((o) => o instanceof GMarker);
          GEvent.trigger(markers[k], "click");
        }, 1);
        if (c.route) {
          const s = await state(page);
          assert.equal(s.playPoint, marker.index);
          assert.ok(await readOutShows(page, marker.index));
          assert.deepEqual(s.lastPan, await pointAt(page, marker.index));
          assert.deepEqual(await page.evaluate(() => window.__mapApi.infoWindows), []);
          assert.equal(marker.message, "");
        } else {
          const windows = await page.evaluate(() => window.__mapApi.infoWindows);
          assert.deepEqual(windows, [marker.message]);
          assert.match(marker.message, /^<strong>\d+年\d+月\d+日\(.\) \d\d:\d\d\.\d\d<br \/>/);
        }
      });

      if (c.route && c.analog) {
        await t.test("the clock face follows the time of day; dec2hex", async () => {
          const faces = await page.evaluate(() => {
            // Record the colour exactly as the script writes it (the browser would normalise it).
            let written = null;
            Object.defineProperty(clock_pointer.style, "backgroundColor", {
              configurable: true,
              set(value) {
                written = value;
              },
              get() {
                return written;
              },
            });
            const all = [];
            for (let t = 0; t < 1440; t++) {
              WriteClock(t);
              all.push(written);
            }
            return all;
          });
          const expected = {
            0: "#e0e0ff",
            330: "#e0e0ff",
            360: "#FF8001",
            361: "#ff8405",
            390: "#ffff80",
            720: "#ffff80",
            1080: "#ff8001",
            1081: "#FF8309",
            1110: "#e0e0ff",
            1439: "#e0e0ff",
          };
          for (const [t, colour] of Object.entries(expected)) assert.equal(faces[t], colour, `t=${t}`);
          faces.forEach((colour, t) => assert.match(colour, /^#[0-9A-Fa-f]{6}$/, `t=${t}`));
          assert.deepEqual(
            await page.evaluate(() => [dec2hex(10), dec2hex(255), dec2hex(16), dec2hex(1)]),
            ["0A", "FF", "10", "01"],
          );
          // The hands: the numerals 1 to 12, one centre dot, three hour and five minute dots.
          const hands = await page.evaluate(() => {
            WriteClock(9 * 60 + 30);
            const face = document.getElementById("clock_value");
            return {
              numerals: [...face.querySelectorAll("b")].map((b) => Number(b.textContent)),
              dots: (face.textContent.match(/●/g) || []).length,
              prev: prev_time,
            };
          });
          assert.deepEqual(hands.numerals, [4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3]);
          assert.equal(hands.dots, 9);
          assert.equal(hands.prev, 570);
        });
      }

      if (c.route && c.altitude) {
        await t.test("the altitude gauge's ticks for WriteAlt(0)", async () => {
          const ticks = await page.evaluate(() => {
            WriteAlt(0);
            const gauge = document.getElementById("alt_value");
            const labelled = [];
            let minor = 0;
            for (const div of gauge.children) {
              const text = div.textContent;
              if (/^-\-?\d+-$/.test(text)) labelled.push([Number(text.slice(1, -1)), div.style.top]);
              else if (text === "-") minor++;
            }
            return { labelled, minor, pointer: gauge.lastElementChild.textContent };
          });
          assert.deepEqual(ticks.labelled, [[-50, "72px"], [0, "42px"], [50, "12px"]]);
          assert.equal(ticks.minor, 10);
          assert.equal(ticks.pointer, "－");
        });
      }

      await t.test("still no script error", async () => {
        assert.deepEqual(errors, []);
      });
    } finally {
      await page.close();
    }
  });
}
