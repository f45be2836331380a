// Opens map pages with photos, written by tolvane-convert, in headless Chromium and checks the
// photo strip with its thumbnails, a click on a photo (the photo marker, the centre, the replay
// point and the read-outs, the marker's 3000 ms) and, with photo links, the child window with
// the source photo and the `linked` box. The photos are generated; their names and folders
// include characters that the page must escape.
//
//   node check_photo_pages.mjs --convert BUILD/tolvane-convert
//     --make-photos BUILD/make_example_photos --log LOG --work DIR [--chromium PATH]
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import test from "node:test";
import assert from "node:assert/strict";
import { fileURLToPath, pathToFileURL } from "node:url";
import { launchBrowser, openPage, option, readOutShows } from "./browser_session.mjs";

const convert = path.resolve(option("--convert"));
const makePhotos = path.resolve(option("--make-photos"));
const logFile = path.resolve(option("--log"));
const work = path.resolve(option("--work"));
const chromiumPath = option("--chromium", "/usr/bin/chromium");

// The local times of the log's valid fixes, seconds of the day: the page's points.
const gmt = 9;
const fixTimes = fs
  .readFileSync(logFile, "latin1")
  .split(/\r?\n/)
  .map((line) => line.split(","))
  .filter((f) => f[0] === "$GPRMC" && f[2] === "A")
  .map((f) => {
    const [h, m, s] = [0, 2, 4].map((at) => Number(f[1].slice(at, at + 2)));
    return (h + gmt) * 3600 + m * 60 + s;
  });
const childWidth = 500;
const childHeight = 420;
const largerEdge = 128; // the default thumbnail size

// In capture-time order. `link` is the form the page's link to the photo takes.
// The photo linked absolutely lies in a folder that shares only "/" with the page: under the
// first of these bases whose top folder differs from the work folder's. When none does, its
// link is relative like the others.
const topFolder = (p) => p.split(path.sep)[1];
const outsideBase =
  [os.tmpdir(), "/var/tmp", "/dev/shm"].find(
    (base) => fs.existsSync(base) && topFolder(path.resolve(base)) !== topFolder(work),
  ) ?? os.tmpdir();
const outside = fs.mkdtempSync(path.join(outsideBase, "tolvane-photo-"));
const outsideLink = topFolder(outside) !== topFolder(work) ? "file" : "relative";
const photos = [
  { at: "album/IMG_0001.JPG", time: "09:30:00", link: "same" }, // before the track
  { at: "album/a'b.jpg", time: "09:42:05", link: "same" },
  { at: 'album/x"<y>&z.jpg', time: "09:48:17", link: "same" },
  { at: "album/q#1?x.jpg", time: "09:53:40", link: "same", portrait: true },
  // Inside the log's reception gap (10:00:00 to 10:02:29): between the points around it.
  { at: "album/sub #dir/in folder.jpg", time: "10:01:02", link: "same" },
  { at: "shots/IMG_0042.JPG", time: "10:07:33", link: "up" },
  // An entity and a percent escape that must reach the file system as they stand.
  { at: "album/R&amp;D%41.jpg", time: "10:12:59", link: "same" },
  { at: "album/写真 1.jpeg", time: "10:20:00", link: "same" },
  { at: path.join(outside, "elsewhere.jpg"), time: "10:26:26", link: outsideLink },
  { at: "album/last.JPG", time: "10:45:00", link: "same" }, // after the track
].map((p, k) => {
  const [h, m, s] = p.time.split(":").map(Number);
  const file = path.resolve(work, p.at);
  return {
    ...p,
    order: k,
    file,
    thumbnail: `s${path.basename(file)}`,
    minute: h * 60 + m,
    seconds: h * 3600 + m * 60 + s,
    widthPercent: p.portrait ? 75 : 100,
  };
});
// The order in which they are handed to the converter.
const givenOrder = [5, 2, 9, 0, 7, 3, 8, 1, 6, 4];

function makePhotoFiles() {
  fs.rmSync(work, { recursive: true, force: true });
  const staging = path.join(work, "staging");
  for (const p of photos) {
    const [w, h] = p.portrait ? [240, 320] : [320, 240];
    const prefix = `p${p.order}_`;
    execFileSync(makePhotos, [staging, "1", `2024:05:18 ${p.time}`, "0", `${w}`, `${h}`, prefix], {
      stdio: ["ignore", "inherit", "inherit"],
    });
    fs.mkdirSync(path.dirname(p.file), { recursive: true });
    fs.renameSync(path.join(staging, `${prefix}0001.JPG`), p.file);
  }
}

const combinations = [
  { route: 1, links: 1, analog: 1, altitude: 1 },
  { route: 1, links: 1, analog: 0, altitude: 0 },
  { route: 1, links: 0, analog: 1, altitude: 0 },
  { route: 1, links: 0, analog: 0, altitude: 1 },
  { route: 0, links: 1, analog: 1, altitude: 1 },
  { route: 0, links: 0, analog: 0, altitude: 0 },
];
const nameOf = (c) => `photos_r${c.route}l${c.links}a${c.analog}h${c.altitude}`;

// Writes the page from inside the work folder, most photos named relative to it.
function writePage(c) {
  const out = path.join(work, "album", `${nameOf(c)}.html`);
  const settings = [
    `Common.GMT=${gmt}`,
    `GoogleMaps.route=${c.route}`,
    `GoogleMaps.show_analog=${c.analog}`,
    `GoogleMaps.show_altitude=${c.altitude}`,
    `Common.jpeg_embed_link=${c.links}`,
    `GoogleMaps.jpeg_child_window_width=${childWidth}`,
    `GoogleMaps.jpeg_child_window_height=${childHeight}`,
    "GoogleMaps.builtin_map=0",
  ];
  const args = ["--quiet", "--settings", path.join(work, "absent.ini"), "--html", "--jobs", "2"];
  for (const s of settings) args.push("--set", s);
  args.push("-o", path.relative(work, out), logFile);
  for (const k of givenOrder) args.push(photos[k].at);
  execFileSync(convert, args, { cwd: work, stdio: ["ignore", "inherit", "inherit"] });
  return { file: out, pics: out.replace(/\.html$/, "_pics") };
}

let context;
let closeBrowser;

test.before(async () => {
  makePhotoFiles();
  ({ context, close: closeBrowser } = await launchBrowser(chromiumPath));
});

test.after(async () => {
  if (closeBrowser) await closeBrowser();
  fs.rmSync(outside, { recursive: true, force: true });
});

const open = (file) => openPage(context, file);

// Records the calls of the functions a photo click goes through.
const installSpies = (page) =>
  page.evaluate(() => {
    window.__calls = { PlacePhotoMarker: [], WriteClock: [], WriteAlt: [], open: [] };
    for (const name of ["PlacePhotoMarker", "WriteClock", "WriteAlt"]) {
      const original = window[name];
      if (typeof original !== "function") continue;
      window[name] = function (...args) {
        window.__calls[name].push(args);
        return original.apply(this, args);
      };
    }
    const open = window.open;
    window.open = function (...args) {
      window.__calls.open.push(args);
      return open.apply(this, args);
    };
  });

const calls = (page) => page.evaluate(() => window.__calls);

// The photo markers on the map, as [lat, lng].
const photoMarkers = (page) =>
  page.evaluate(() =>
    window.__mapApi.maps[0].overlays
      .filter((o) => o instanceof GMarker && o.icon === picture_icon)
      .map((m) => [m.point.lat(), m.point.lng()]),
  );

const clickPhoto = (page, k) => page.locator("#photoframe a").nth(k).click();

// Where a photo stands: the first point at or after its time gives the index, the position
// lies between that point and the one before, in proportion to the times.
function expectedPlacement(p) {
  const next = fixTimes.findIndex((t) => t >= p.seconds);
  if (next === 0) return { index: 0, from: 0, to: 0, r: 0 };
  const last = fixTimes.length - 1;
  if (next < 0) return { index: last, from: last, to: last, r: 0 };
  const r = (p.seconds - fixTimes[next - 1]) / (fixTimes[next] - fixTimes[next - 1]);
  return { index: next, from: next - 1, to: next, r };
}

// Positions are 32-bit floats written with six decimals: equal within a float's step.
const near = (shown, expected) =>
  Math.abs(shown - expected) <= Math.abs(expected) * 2 ** -23 + 1e-6;

const readOutOf = (p) => {
  const [h, m, s] = p.time.split(":");
  return `2024/05/18 ${h}:${m}.${s}`;
};

// What the child window shows, its links resolved against the page that wrote them.
async function childDocument(popup, pageUrl) {
  const shown = await popup.evaluate(async () => {
    const img = document.querySelector("img");
    const a = document.querySelector("a");
    let decoded = true;
    await img.decode().catch(() => {
      decoded = false;
    });
    return {
      title: document.title,
      href: a.getAttribute("href"),
      src: img.getAttribute("src"),
      resolvedSrc: img.src,
      width: img.getAttribute("width"),
      decoded,
      naturalWidth: img.naturalWidth,
      linkHolds: a.contains(img),
    };
  });
  const resolve = (url) => fileURLToPath(new URL(url, pageUrl));
  return { ...shown, hrefFile: resolve(shown.href), srcFile: resolve(shown.src) };
}

function assertLinkForm(p, link) {
  if (p.link === "file") assert.ok(link.startsWith("file:///"), link);
  else if (p.link === "up") assert.ok(link.startsWith("../shots/"), link);
  else if (p.link === "relative") assert.ok(link.startsWith("../") && !link.includes(":"), link);
  else assert.ok(!link.startsWith("../") && !link.includes(":"), link);
}

for (const c of combinations) {
  test(`page ${nameOf(c)}`, { timeout: 60000 }, async (t) => {
    const { file, pics } = writePage(c);
    const pageUrl = pathToFileURL(file).href;
    const { page, errors } = await open(file);
    let popup = null; // the child window, once opened
    const onPage = (opened) => {
      if (opened !== page) popup = opened;
    };
    context.on("page", onPage);
    try {
      await t.test("loads without a script error", async () => {
        assert.deepEqual(errors, []);
        assert.equal(await page.evaluate(() => window.__mapApi.maps.length), 1);
      });
      await installSpies(page);
      const count = await page.evaluate(() => points.length);
      assert.equal(count, fixTimes.length);

      await t.test("one thumbnail file per photo in the picture folder", () => {
        assert.deepEqual(fs.readdirSync(pics).sort(), photos.map((p) => p.thumbnail).sort());
      });

      await t.test("the strip: a block per photo in capture-time order, thumbnails loaded", async () => {
        const blocks = await page.evaluate(() =>
          [...document.querySelectorAll("#photoframe > p")].map((p) => {
            const a = p.querySelector("a");
            const img = a.querySelector("img");
            return {
              name: a.getAttribute("name"),
              src: img.src,
              alt: img.getAttribute("alt"),
              width: Number(img.getAttribute("width")),
              height: Number(img.getAttribute("height")),
              naturalWidth: img.naturalWidth,
              naturalHeight: img.naturalHeight,
              texts: [...p.childNodes]
                .filter((n) => n.nodeType === Node.TEXT_NODE)
                .map((n) => n.textContent.trim())
                .filter((text) => text !== ""),
            };
          }),
        );
        assert.equal(blocks.length, photos.length);
        const picsName = path.basename(pics);
        blocks.forEach((b, k) => {
          const p = photos[k];
          assert.equal(b.name, p.thumbnail, `block ${k}`);
          assert.deepEqual(b.texts, [p.thumbnail, `2024/05/18 ${p.time.slice(0, 5)}`]);
          assert.equal(fileURLToPath(b.src), path.join(pics, p.thumbnail));
          assert.equal(b.alt, `${picsName}/${p.thumbnail}`);
          assert.ok(b.naturalWidth > 0, `${p.thumbnail} did not load`);
          assert.deepEqual([b.naturalWidth, b.naturalHeight], [b.width, b.height]);
          assert.equal(Math.max(b.width, b.height), largerEdge);
          assert.equal(b.width > b.height, !p.portrait);
        });
      });

      await t.test("a photo click places the photo marker and moves the replay there", async () => {
        let windowsOpened = 0;
        for (const p of photos) {
          await page.clock.runFor(3100); // the previous photo's marker has gone
          assert.deepEqual(await photoMarkers(page), []);
          await clickPhoto(page, p.order);
          const where = expectedPlacement(p);
          const n = where.index;
          const seen = await calls(page);
          const args = seen.PlacePhotoMarker.at(-1);
          assert.equal(seen.PlacePhotoMarker.length, p.order + 1);
          assert.deepEqual(args.slice(2, 4), [n, p.minute], p.at);
          const point = await page.evaluate(
            ({ from, to, r }) => [
              (1 - r) * points[from].lat() + r * points[to].lat(),
              (1 - r) * points[from].lng() + r * points[to].lng(),
            ],
            where,
          );
          const markers = await photoMarkers(page);
          assert.equal(markers.length, 1);
          assert.deepEqual(markers[0], [args[0], args[1]]);
          assert.ok(
            near(markers[0][0], point[0]) && near(markers[0][1], point[1]),
            `${p.at} is at ${markers[0]}, not at ${point}`,
          );
          const center = await page.evaluate(() => window.__mapApi.centers.at(-1));
          assert.deepEqual(center.slice(0, 2), markers[0]);

          if (c.route) {
            assert.equal(await page.evaluate(() => playPoint), n);
            assert.ok(await readOutShows(page, n), p.at);
            const readOut = await page.evaluate((i) => String(point_info[i]), n);
            if (fixTimes[n] === p.seconds) {
              assert.ok(readOut.startsWith(readOutOf(p)), `${readOut} for ${p.time}`);
            }
          }
          if (c.route && c.analog) {
            // The clock shows the photo's own minute, not that of its point.
            assert.deepEqual(seen.WriteClock.at(-1), [p.minute]);
            assert.equal(await page.evaluate(() => prev_time), p.minute);
          } else {
            assert.equal(seen.WriteClock.length, 0);
          }
          if (c.route && c.altitude) {
            assert.deepEqual(seen.WriteAlt.at(-1), [await page.evaluate((i) => alt_info[i], n)]);
          } else {
            assert.equal(seen.WriteAlt.length, 0);
          }

          if (c.links) {
            assert.equal(args.length, 6);
            assertLinkForm(p, args[4]);
            assert.equal(args[5], p.widthPercent);
            if (windowsOpened === 0) {
              assert.deepEqual(seen.open, [
                [
                  "",
                  "a",
                  `top=0,left=0,width=${childWidth},height=${childHeight},resizable,scrollbars`,
                ],
              ]);
              windowsOpened = 1;
            }
            assert.equal(seen.open.length, 1, "the child window is reused");
            assert.ok(popup, "no child window");
            const child = await childDocument(popup, pageUrl);
            assert.equal(child.title, "写真画像（クリックで原寸大）");
            assert.equal(child.href, args[4]);
            assert.equal(child.src, args[4]);
            assert.equal(child.hrefFile, p.file);
            assert.equal(child.srcFile, p.file);
            assert.equal(fileURLToPath(child.resolvedSrc), p.file, "resolved as in the page");
            assert.ok(child.decoded && child.naturalWidth > 0, `${p.at} not shown`);
            assert.equal(child.width, `${p.widthPercent}%`);
            assert.ok(child.linkHolds);
          } else {
            assert.equal(args.length, 4);
            assert.deepEqual(seen.open, []);
            assert.equal(popup, null);
          }
        }
      });

      await t.test("a click within 3000 ms replaces the marker; it goes after 3000 ms", async () => {
        await page.clock.runFor(3100);
        await clickPhoto(page, 1);
        const first = await photoMarkers(page);
        await page.clock.runFor(1000);
        await clickPhoto(page, 6);
        const second = await photoMarkers(page);
        assert.equal(second.length, 1);
        assert.notDeepEqual(second, first);
        // The first click's timer would fire here, had it not been cleared.
        await page.clock.runFor(2500);
        assert.deepEqual(await photoMarkers(page), second);
        await page.clock.runFor(600);
        assert.deepEqual(await photoMarkers(page), []);
        assert.equal(await page.evaluate(() => show_picture_icon), 0);
      });

      if (c.links) {
        await t.test("the linked box: unticked no window, ticked the child window", async () => {
          const before = (await calls(page)).open.length;
          const pages = context.pages().length;
          await page.uncheck('input[name="linked"]');
          await clickPhoto(page, 2);
          assert.equal((await photoMarkers(page)).length, 1, "the marker is placed all the same");
          assert.equal((await calls(page)).open.length, before);
          assert.equal(context.pages().length, pages);
          // The child window still shows the photo of the last click with the box ticked.
          assert.equal((await childDocument(popup, pageUrl)).srcFile, photos[6].file);
          await page.check('input[name="linked"]');
          await clickPhoto(page, 3);
          assert.equal((await calls(page)).open.length, before);
          const child = await childDocument(popup, pageUrl);
          assert.equal(child.srcFile, photos[3].file);
          assert.ok(child.naturalWidth > 0);
        });

        await t.test(
          "a photo click after the child window was closed opens it again",
          async () => {
            const before = (await calls(page)).open.length;
            await popup.close();
            popup = null;
            await clickPhoto(page, 4);
            assert.equal((await calls(page)).open.length, before + 1);
            assert.ok(popup, "no child window");
            assert.equal((await childDocument(popup, pageUrl)).srcFile, photos[4].file);
          },
        );
      } else {
        await t.test("no linked box without photo links", async () => {
          assert.equal(await page.locator('input[name="linked"]').count(), 0);
        });
      }

      await t.test("still no script error", async () => {
        assert.deepEqual(errors, []);
      });
    } finally {
      context.off("page", onPage);
      if (popup) await popup.close();
      await page.close();
    }
  });
}
