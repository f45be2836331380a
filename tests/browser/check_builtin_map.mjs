// Opens map pages that carry the built-in map layer in headless Chromium, with a stand-in tile
// server on loopback in place of the tile services (and once with the tile hosts refused), and
// checks what reaches the screen: the tiles requested, the track's line on the canvas, the markers
// on their points, the page's replay and photo functions, the map types, and that the page asks
// for nothing but tiles, heading icons and its thumbnails. Also the names the layer puts on
// window, and a page whose layer files are joined in reverse order.
//
//   node check_builtin_map.mjs --convert BUILD/tolvane-convert
//     --make-photos BUILD/make_example_photos --log LOG --work DIR --layer-sources src/map_layer
//     [--chromium PATH]
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import test from "node:test";
import assert from "node:assert/strict";
import { pathToFileURL } from "node:url";
import { launchBrowser, openPage, option, pauseClock, readOutShows } from "./browser_session.mjs";
import { startTileServer, tileHosts } from "./tile_server.mjs";

const convert = path.resolve(option("--convert"));
const makePhotos = path.resolve(option("--make-photos"));
const logFile = path.resolve(option("--log"));
const work = path.resolve(option("--work"));
const chromiumPath = option("--chromium", "/usr/bin/chromium");
const layerSources = path.resolve(option("--layer-sources"));

const mapSize = { width: 800, height: 600 }; // GoogleMaps.xsize and ysize
const maxZoom = 19;

fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(work, { recursive: true });
execFileSync(makePhotos, [path.join(work, "photos"), "3", "2024:05:18 09:47:00", "900", "320", "240", "P_"], {
  stdio: ["ignore", "inherit", "inherit"],
});
const photoFiles = fs.readdirSync(path.join(work, "photos")).map((f) => path.join(work, "photos", f));

function writePage(name, settings, { photos = false } = {}) {
  const out = path.join(work, `${name}.html`);
  const args = ["--quiet", "--settings", path.join(work, "absent.ini"), "--html", "--jobs", "2"];
  for (const s of settings) args.push("--set", s);
  args.push("-o", out, logFile, ...(photos ? photoFiles : []));
  execFileSync(convert, args, { stdio: ["ignore", "inherit", "inherit"] });
  return out;
}

// What the page's own lines give the map: those of its own script, the head's last element, and
// of its body (the layer's code before them is not read).
function pageData(page) {
  const html = page.slice(page.lastIndexOf("<script", page.indexOf("</head>")));
  const number = "(-?[\\d.]+)";
  const fitted = html.match(
    new RegExp(`map\\.setCenter\\(new GLatLng\\(${number},${number}\\),map\\.getBoundsZoomLevel\\(new ` +
      `GLatLngBounds\\(new GLatLng\\(${number},${number}\\),new GLatLng\\(${number},${number}\\)\\)\\)\\);`),
  );
  const fixed = html.match(new RegExp(`map\\.setCenter\\(new GLatLng\\(${number},${number}\\),(-?\\d+)\\);`));
  const view = fitted
    ? { center: [+fitted[1], +fitted[2]], box: [[+fitted[3], +fitted[4]], [+fitted[5], +fitted[6]]] }
    : { center: [+fixed[1], +fixed[2]], zoom: +fixed[3] };
  const markers = [...html.matchAll(
    /^ {4}map\.addOverlay\(createMarker(\d*)\(new GLatLng\((-?[\d.]+),(-?[\d.]+)\),"([^"]*)",(\d+)\)\);\r$/gm,
  )].map((m) => ({ icon: m[1], lat: +m[2], lng: +m[3], message: m[4], index: +m[5] }));
  const points = [...html.matchAll(/^ {4}points\.push\(new GLatLng\((-?[\d.]+),(-?[\d.]+)\)\);\r$/gm)]
    .map((m) => [+m[1], +m[2]]);
  const polylines = [...html.matchAll(
    /^ {4}map\.addOverlay\(new GPolyline\(points\.slice\((\d+), (\d+)\),'#(\w+)', (-?\d+), (-?[\d.]+)\)\);\r$/gm,
  )].map((m) => ({ begin: +m[1], end: +m[2], color: m[3], weight: +m[4], opacity: +m[5] }));
  const icons = Object.fromEntries(
    [...html.matchAll(/^ {4}icon(\d*)\.image = "([^"]*)";\r$/gm)].map((m) => [m[1], m[2]]),
  );
  const size = +html.match(/^ {4}icon\d*\.iconSize = new GSize\((\d+),/m)[1];
  const photos = [...html.matchAll(/onclick="PlacePhotoMarker\((-?[\d.]+),(-?[\d.]+),/g)].map((m) => [+m[1], +m[2]]);
  return { view, markers, points, polylines, icons, iconSize: size, photos };
}

// Web-mercator pixels of the whole world at `zoom`.
function worldPixel([lat, lng], zoom) {
  const scale = 256 * 2 ** zoom;
  const phi = (lat * Math.PI) / 180;
  return [(scale * (lng + 180)) / 360, (scale * (1 - Math.log(Math.tan(phi) + 1 / Math.cos(phi)) / Math.PI)) / 2];
}

// The zoom the old API gave a box: the deepest at which it fits the map, at most 19.
function fittedZoom([sw, ne]) {
  for (let z = maxZoom; z > 0; z--) {
    const [x0, y0] = worldPixel(sw, z);
    const [x1, y1] = worldPixel(ne, z);
    if (Math.abs(x1 - x0) <= mapSize.width && Math.abs(y0 - y1) <= mapSize.height) return z;
  }
  return 0;
}

function viewOf(data) {
  const zoom = data.view.box ? fittedZoom(data.view.box) : Math.min(data.view.zoom, maxZoom);
  const center = data.view.box ? data.view.center : data.points[0];
  return { zoom, center };
}

// Where a position lies in the map's element for a view.
function screenPoint(view, position) {
  const [cx, cy] = worldPixel(view.center, view.zoom);
  const [x, y] = worldPixel(position, view.zoom);
  return [x - cx + mapSize.width / 2, y - cy + mapSize.height / 2];
}

// The tiles of zoom `tileZoom` (the view's own unless given) that cover the map for a view, as
// "z/x/y".
function coveringTiles(view, tileZoom = view.zoom) {
  const scale = 2 ** (tileZoom - view.zoom);
  const [cx, cy] = worldPixel(view.center, tileZoom);
  const [w, h] = [mapSize.width * scale, mapSize.height * scale];
  const tiles = [];
  const x0 = Math.floor((cx - w / 2) / 256);
  const x1 = Math.floor((cx + w / 2 - 1e-6) / 256);
  const y0 = Math.floor((cy - h / 2) / 256);
  const y1 = Math.floor((cy + h / 2 - 1e-6) / 256);
  for (let x = x0; x <= x1; x++) for (let y = y0; y <= y1; y++) tiles.push(`${tileZoom}/${x}/${y}`);
  return tiles.sort();
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits (in real time) until every image in the map has finished loading or failing.
async function imagesSettled(page) {
  for (let i = 0; i < 100; i++) {
    const pending = await page.evaluate(
      () => [...document.querySelectorAll("#map img")].filter((img) => !img.complete).length,
    );
    if (pending === 0) return;
    await sleep(50);
  }
  throw new Error("map images still loading");
}

// Opens a page, recording every request it makes; script errors apart from failed loads.
async function open(context, file) {
  const requests = [];
  context.on("request", (request) => requests.push(request));
  const { page, errors } = await openPage(context, file);
  await page.clock.runFor(100); // the canvas draws on the next frame
  await imagesSettled(page);
  await page.clock.runFor(100);
  const scriptErrors = () => errors.filter((e) => !e.startsWith("Failed to load resource"));
  return { page, requests, scriptErrors };
}

// The page asks for tiles, heading icons and its own thumbnails only: no script or style, and
// nothing from the old map service's hosts.
function assertOnlyExpectedRequests(requests, file) {
  const pageFolder = pathToFileURL(path.dirname(file)).href;
  const iconFolder = pathToFileURL(path.join(path.dirname(convert), "icons")).href;
  for (const request of requests) {
    const url = request.url();
    if (url.startsWith("data:")) continue;
    assert.notEqual(request.resourceType(), "script", url);
    assert.notEqual(request.resourceType(), "stylesheet", url);
    const allowed =
      url === pathToFileURL(file).href ||
      url.startsWith(`${iconFolder}/pt`) ||
      url.startsWith(`${pageFolder}/`) ||
      tileHosts.some((host) => url.startsWith(`https://${host}/`));
    assert.ok(allowed, `unexpected request ${url}`);
  }
}

// RGBA of the line canvas at points of the map's element.
function canvasPixels(page, at) {
  return page.evaluate((spots) => {
    const canvases = document.querySelectorAll("#map .leaflet-overlay-pane canvas");
    if (canvases.length !== 1) return `${canvases.length} canvases`;
    const canvas = canvases[0];
    const box = canvas.getBoundingClientRect();
    const mapBox = document.getElementById("map").getBoundingClientRect();
    const context = canvas.getContext("2d");
    const sx = canvas.width / box.width;
    const sy = canvas.height / box.height;
    return spots.map(([x, y]) => [
      ...context.getImageData(Math.floor((x + mapBox.left - box.left) * sx), Math.floor((y + mapBox.top - box.top) * sy), 1, 1).data,
    ]);
  }, at);
}

const hex = (color) => [0, 2, 4].map((k) => parseInt(color.slice(k, k + 2), 16));

// Samples along the track that lie on one line only: inside the map, away from the ends of
// every line; each with the line's colour and opacity and its direction on screen.
function trackSamples(view, data) {
  const ends = data.polylines.flatMap((l) => [l.begin, l.end - 1]).map((k) => screenPoint(view, data.points[k]));
  const inside = ([x, y]) => x > 10 && y > 10 && x < mapSize.width - 10 && y < mapSize.height - 10;
  const clear = ([x, y], margin) => ends.every(([ex, ey]) => Math.hypot(ex - x, ey - y) > margin);
  const samples = [];
  for (const line of data.polylines) {
    const at = (k) => screenPoint(view, data.points[k]);
    const along = [];
    if (line.end - line.begin === 2) {
      const [a, b] = [at(line.begin), at(line.begin + 1)];
      along.push({ at: [(a[0] + b[0]) / 2, (a[1] + b[1]) / 2], dir: [b[0] - a[0], b[1] - a[1]] });
    }
    for (let k = line.begin + 1; k + 1 < line.end; k++) {
      const [a, b] = [at(Math.max(line.begin, k - 5)), at(Math.min(line.end - 1, k + 5))];
      along.push({ at: at(k), dir: [b[0] - a[0], b[1] - a[1]] });
    }
    const usable = along.filter((s) => inside(s.at) && clear(s.at, line.weight / 2 + 2) && Math.hypot(...s.dir) >= 3);
    const step = Math.max(1, Math.floor(usable.length / 12));
    for (let k = 0; k < usable.length; k += step) samples.push({ ...usable[k], line });
  }
  return samples;
}

async function assertTrackDrawn(page, view, data) {
  const samples = trackSamples(view, data);
  assert.ok(samples.length >= 10, "enough of the track lies in view");
  assert.ok(samples.some((s) => s.line.color !== data.polylines[0].color) || data.polylines.length === 1);
  const pixels = await canvasPixels(page, samples.map((s) => s.at));
  assert.ok(Array.isArray(pixels), pixels);
  // On the line: its colour and its opacity (more where the track crosses itself, seldom).
  const single = samples.filter((s, k) => Math.abs(pixels[k][3] - s.line.opacity * 255) <= 8);
  assert.ok(single.length >= samples.length * 0.8, `${single.length} of ${samples.length} at the line's opacity`);
  samples.forEach((s, k) => {
    const [r, g, b, a] = pixels[k];
    const want = hex(s.line.color);
    const where = `${s.line.color} at ${s.at.map((v) => v.toFixed(1))}: ${pixels[k]}`;
    assert.ok(a >= s.line.opacity * 255 - 8, where);
    if (a <= s.line.opacity * 255 + 8) {
      [r, g, b].forEach((v, c) => assert.ok(Math.abs(v - want[c]) <= 10, where));
    }
  });
  // Its weight: drawn a pixel inside its half-width across the line, not two pixels beyond it.
  const across = (s, d) => {
    const n = Math.hypot(...s.dir);
    return [s.at[0] - (s.dir[1] / n) * d, s.at[1] + (s.dir[0] / n) * d];
  };
  const inner = await canvasPixels(page, samples.map((s) => across(s, s.line.weight / 2 - 1)));
  const outer = await canvasPixels(page, samples.map((s) => across(s, s.line.weight / 2 + 2)));
  const wide = inner.filter((p) => p[3] > 0).length;
  const narrow = outer.filter((p) => p[3] === 0).length;
  assert.ok(wide >= samples.length * 0.9, `${wide} of ${samples.length} inside the weight`);
  assert.ok(narrow >= samples.length * 0.7, `${narrow} of ${samples.length} clear beyond it`);
}

// Each marker's image: its anchor on its point, at the icon's size, loaded.
async function assertMarkersPlaced(page, view, data) {
  const images = await page.evaluate(() => {
    const mapBox = document.getElementById("map").getBoundingClientRect();
    return [...document.querySelectorAll("#map .leaflet-marker-pane img")].map((img) => {
      const box = img.getBoundingClientRect();
      return {
        left: box.left - mapBox.left,
        top: box.top - mapBox.top,
        width: box.width,
        height: box.height,
        src: img.getAttribute("src"),
        loaded: img.complete && img.naturalWidth > 0,
      };
    });
  });
  assert.equal(images.length, data.markers.length);
  const half = Math.floor(data.iconSize / 2);
  data.markers.forEach((m, k) => {
    const [x, y] = screenPoint(view, [m.lat, m.lng]);
    const img = images[k];
    assert.ok(Math.abs(img.left + half - x) <= 1.5 && Math.abs(img.top + half - y) <= 1.5, `marker ${k}`);
    assert.equal(img.width, data.iconSize);
    assert.equal(img.height, data.iconSize);
    assert.ok(img.loaded, `marker ${k} image`);
    const named = data.icons[m.icon];
    if (named.startsWith("http://maps.google.com/")) assert.match(img.src, /^data:image\/png;base64,/);
    else assert.equal(img.src, named);
  });
}

// The clickable spot of a marker that no control covers.
async function clickableMarker(page) {
  return page.evaluate(() => {
    const images = [...document.querySelectorAll("#map .leaflet-marker-pane img")];
    for (let k = 0; k < images.length; k++) {
      const box = images[k].getBoundingClientRect();
      const x = box.left + box.width / 2;
      const y = box.top + box.height / 2;
      if (document.elementFromPoint(x, y) === images[k]) return { k, x, y };
    }
    return null;
  });
}

// Whether the map is centred on `position`, to the pixel (the map moves in whole pixels).
async function centredOn(page, position) {
  const [center, zoom] = await page.evaluate(() => [[map.getCenter().lat(), map.getCenter().lng()], map.getZoom()]);
  const [a, b] = [worldPixel(center, zoom), worldPixel(position, zoom)];
  return Math.abs(a[0] - b[0]) <= 1 && Math.abs(a[1] - b[1]) <= 1;
}

async function assertReplay(page, c, data) {
  assert.ok(await readOutShows(page, 0));
  await pauseClock(page);
  await page.click('input[value="再生"]');
  await page.clock.runFor(512 * 3);
  assert.equal(await page.evaluate(() => playPoint), 4);
  assert.ok(await readOutShows(page, 3));
  await page.click('input[value="停止"]');
  await page.clock.runFor(2000);
  assert.equal(await page.evaluate(() => playing), false);
  assert.ok(await centredOn(page, data.points[3]), "the map follows the replay");
  await page.click('input[value="早送り"]');
  await page.clock.runFor(1000);
  assert.equal(await page.evaluate(() => playPoint), 24);
  assert.ok(await centredOn(page, data.points[24]));
  await page.click('input[value="出発点へ"]');
  assert.equal(await page.evaluate(() => playPoint), 0);
  assert.ok(await centredOn(page, data.points[0]));

  const readOuts = () =>
    page.evaluate(() => ["time_value", "clock_value", "alt_value"].map((id) => document.getElementById(id) !== null));
  assert.deepEqual(await readOuts(), [true, Boolean(c.analog), Boolean(c.altitude)]);
  await page.click('input[value="表示on/off"]');
  assert.deepEqual(await readOuts(), [false, false, false]);
  await page.click('input[value="表示on/off"]');
  assert.deepEqual(await readOuts(), [true, Boolean(c.analog), Boolean(c.altitude)]);
  // The read-outs stack down the right edge, over the map (scrolled back into view: the buttons
  // may sit below the window's height, under the profile strip).
  const boxes = await page.evaluate(() => {
    window.scrollTo(0, 0);
    const mapBox = document.getElementById("map").getBoundingClientRect();
    return ["time_value", "clock_value", "alt_value"]
      .map((id) => document.getElementById(id))
      .filter((e) => e !== null)
      .map((e) => {
        const box = e.parentElement.getBoundingClientRect();
        const top = document.elementFromPoint(box.left + 3, box.top + 3);
        return { right: Math.round(mapBox.right - box.right), shown: e.parentElement.contains(top) };
      });
  });
  for (const box of boxes) {
    assert.equal(box.right, 10 - 2); // 10 pixels in from the edge, less its border of one pixel each side
    assert.ok(box.shown, "not hidden under the map");
  }
  if (c.analog) {
    const dots = await page.evaluate(() => {
      WriteClock(570);
      return (document.getElementById("clock_value").textContent.match(/●/g) || []).length;
    });
    assert.equal(dots, 9);
  }
  if (c.altitude) {
    const ticks = await page.evaluate(() => {
      WriteAlt(0);
      return [...document.getElementById("alt_value").children].filter((d) => /^-\-?\d+-$/.test(d.textContent)).length;
    });
    assert.equal(ticks, 3);
  }
}

async function assertMarkerClick(page, c, data) {
  const target = await clickableMarker(page);
  assert.ok(target, "a marker free of the controls");
  const marker = data.markers[target.k];
  await page.mouse.click(target.x, target.y);
  await page.clock.runFor(1000);
  if (c.route) {
    assert.equal(await page.evaluate(() => playPoint), marker.index);
    assert.ok(await readOutShows(page, marker.index));
    assert.ok(await centredOn(page, data.points[marker.index]), "panned to the point");
  } else {
    const shown = await page.evaluate(() => document.querySelector("#map .leaflet-popup-content")?.innerHTML);
    const expected = await page.evaluate((html) => {
      const div = document.createElement("div");
      div.innerHTML = html;
      return div.innerHTML;
    }, marker.message);
    assert.equal(shown, expected);
  }
}

// A click in the photo strip: the pin and its shadow from the same corner, anchored on the
// photo's place; gone after 3000 ms.
async function assertPhotoPin(page, data) {
  await page.click("#photoframe a");
  const view = { center: data.photos[0], zoom: await page.evaluate(() => map.getZoom()) };
  const pin = () =>
    page.evaluate(() => {
      const mapBox = document.getElementById("map").getBoundingClientRect();
      const find = (pane) =>
        [...document.querySelectorAll(`#map .leaflet-${pane}-pane img`)].find((img) => img.width === 12 || img.width === 22);
      return [find("marker"), find("shadow")].map((img) => {
        if (!img) return null;
        const box = img.getBoundingClientRect();
        return {
          left: box.left - mapBox.left,
          top: box.top - mapBox.top,
          size: [box.width, box.height],
          data: img.src.startsWith("data:image/png"),
          loaded: img.complete && img.naturalWidth > 0,
        };
      });
    });
  await imagesSettled(page);
  const [image, shadow] = await pin();
  assert.ok(image && shadow, "pin and shadow drawn");
  const [x, y] = screenPoint(view, data.photos[0]);
  assert.ok(Math.abs(image.left + 6 - x) <= 1.5 && Math.abs(image.top + 20 - y) <= 1.5, "pin on its place");
  assert.deepEqual(image.size, [12, 20]);
  assert.deepEqual(shadow.size, [22, 20]);
  assert.deepEqual([shadow.left, shadow.top], [image.left, image.top]);
  assert.ok(image.data && image.loaded && shadow.data && shadow.loaded);
  await page.clock.runFor(3100);
  assert.deepEqual(await pin(), [null, null]);
}

// The tiles the tile server was asked for, as "z/x/y", by template. The default sources name
// the tile's row (y) before its column (x).
const tilesOf = (requests, pattern) =>
  requests.map((r) => pattern.exec(r.path)).filter(Boolean).map((m) => `${m[1]}/${m[3]}/${m[2]}`);
const esriTile = (service) => new RegExp(`^/ArcGIS/rest/services/${service}/MapServer/tile/(\\d+)/(\\d+)/(\\d+)$`);
const streetTile = esriTile("World_Street_Map");
const labelTile = esriTile("Reference/World_Boundaries_and_Places");
const satelliteTile = esriTile("World_Imagery");

// The default attributions, as the page shows them.
const streetAttribution =
  "Tiles © Esri — Source: Esri, DeLorme, NAVTEQ, USGS, Intermap, iPC, NRCAN, Esri Japan, METI, " +
  "Esri China (Hong Kong), Esri (Thailand), TomTom, 2012";
const satelliteAttribution =
  "Tiles © Esri — Source: Esri, i-cubed, USDA, USGS, AEX, GeoEye, Getmapping, Aerogrid, IGN, IGP, " +
  "UPR-EGP, and the GIS User Community";
const labelsAttribution = "Labels © Esri";

let online;
let offline;
let tileServer;

test.before(async () => {
  tileServer = await startTileServer();
  const hosts = Object.fromEntries(tileHosts.map((h) => [h, tileServer.address]));
  online = await launchBrowser(chromiumPath, { hosts });
  offline = await launchBrowser(chromiumPath); // every tile host refused
});

test.after(async () => {
  if (online) await online.close();
  if (offline) await offline.close();
  if (tileServer) tileServer.stop();
});

const combinations = [];
for (const route of [1, 0]) {
  for (const analog of [1, 0]) {
    for (const altitude of [1, 0]) {
      for (const heading of [1, 0]) combinations.push({ route, analog, altitude, heading, photos: false });
    }
  }
}
for (const route of [1, 0]) {
  for (const heading of [1, 0]) combinations.push({ route, analog: route, altitude: route, heading, photos: true });
}
const nameOf = (c) => `r${c.route}a${c.analog}h${c.altitude}i${c.heading}${c.photos ? "_photos" : ""}`;
const switches = (c) => [
  `GoogleMaps.route=${c.route}`,
  `GoogleMaps.show_analog=${c.analog}`,
  `GoogleMaps.show_altitude=${c.altitude}`,
  `GoogleMaps.direction_icon=${c.heading}`,
];

// Opens a page written with the switches `c` and checks all it shows and does.
async function assertPageWorks(file, c) {
  const data = pageData(fs.readFileSync(file, "utf8"));
  const view = viewOf(data);
  const before = tileServer.requests.length;
  const { page, requests, scriptErrors } = await open(online.context, file);
  try {
    assert.deepEqual(scriptErrors(), []);
    // The tiles at load: those that cover the map at the fitted zoom (and the overview's).
    const tiles = tilesOf(tileServer.requests.slice(before), streetTile);
    assert.deepEqual([...new Set(tiles.filter((t) => t.startsWith(`${view.zoom}/`)))].sort(), coveringTiles(view));
    assert.ok(tiles.every((t) => t.startsWith(`${view.zoom}/`) || t.startsWith(`${view.zoom - 5}/`)), tiles.join(" "));
    assert.ok((await page.textContent("#map .leaflet-control-attribution")).includes(streetAttribution));

    await assertTrackDrawn(page, view, data);
    await assertMarkersPlaced(page, view, data);
    if (c.route) await assertReplay(page, c, data);
    await assertMarkerClick(page, c, data);
    if (c.photos) await assertPhotoPin(page, data);
    assertOnlyExpectedRequests(requests, file);
    assert.deepEqual(scriptErrors(), []);
  } finally {
    await page.close();
  }
}

for (const c of combinations) {
  test(`page ${nameOf(c)}`, async () => {
    await assertPageWorks(writePage(nameOf(c), switches(c), { photos: c.photos }), c);
  });
}

// The inline scripts of a page's head, as the browser runs them: Leaflet, then the layer.
function headScripts(html) {
  const head = html.slice(0, html.indexOf("</head>"));
  return [...head.matchAll(/<script type="text\/javascript">\r\n {4}\/\/<!\[CDATA\[\r\n([\s\S]*?) {4}\/\/\]\]>\r\n/g)]
    .map((m) => m[1]);
}

test("Leaflet adds only L to window, the layer only the API's names (and ProfileStrip with the profile)", async () => {
  const api = [
    "GMap2", "GLatLng", "GLatLngBounds", "GSize", "GPoint", "GIcon", "GMarker", "GPolyline", "GEvent",
    "GControl", "GControlPosition", "G_ANCHOR_TOP_RIGHT", "G_ANCHOR_TOP_LEFT", "G_ANCHOR_BOTTOM_RIGHT",
    "G_ANCHOR_BOTTOM_LEFT", "GKeyboardHandler", "GLargeMapControl", "GMapTypeControl", "GScaleControl",
    "GOverviewMapControl", "G_NORMAL_MAP", "G_SATELLITE_MAP", "G_HYBRID_MAP", "GBrowserIsCompatible", "GUnload",
  ];
  const blank = path.join(work, "blank.html");
  fs.writeFileSync(blank, "<!DOCTYPE html><html><head></head><body></body></html>");
  for (const [profile, names] of [[1, [...api, "ProfileStrip"]], [0, api]]) {
    const scripts = headScripts(fs.readFileSync(writePage(`globals${profile}`, [`GoogleMaps.profile=${profile}`]), "utf8"));
    assert.equal(scripts.length, 3, "Leaflet, the layer and the page's own script");
    const { page, errors } = await openPage(offline.context, blank);
    try {
      const globals = () => page.evaluate(() => Object.getOwnPropertyNames(window));
      const added = (before, after) => after.filter((n) => !before.includes(n)).sort();
      const before = await globals();
      await page.addScriptTag({ content: scripts[0] });
      const withLeaflet = await globals();
      await page.addScriptTag({ content: scripts[1] });
      const withLayer = await globals();
      assert.deepEqual(added(before, withLeaflet), ["L"]);
      assert.deepEqual(added(withLeaflet, withLayer), [...names].sort(), `profile ${profile}`);
      assert.deepEqual(added(withLayer, before), []);
      assert.deepEqual(errors, []);
    } finally {
      await page.close();
    }
  }
});

// The page as a build that joins the layer's files (both lists) in reverse order writes it: each
// file's text is on the page as it stands, with CR LF line ends and an empty line after it.
function withLayerFilesReversed(html) {
  const files = fs
    .readdirSync(layerSources)
    .filter((name) => name.endsWith(".js"))
    .map((name) => {
      const text = `${fs.readFileSync(path.join(layerSources, name), "utf8").replace(/\n/g, "\r\n")}\r\n`;
      return { name, text, at: html.indexOf(text) };
    })
    .sort((a, b) => a.at - b.at);
  for (const file of files) assert.ok(file.at >= 0, `${file.name} on the page`);
  files.reduce((end, file) => {
    assert.equal(file.at, end, `${file.name} follows the file before it`);
    return file.at + file.text.length;
  }, files[0].at);
  const last = files[files.length - 1];
  const reversed = files.map((file) => file.text).reverse().join("");
  return html.slice(0, files[0].at) + reversed + html.slice(last.at + last.text.length);
}

test("the layer's files joined in reverse order give a page that works as well", async () => {
  const c = { route: 1, analog: 1, altitude: 1, heading: 1, photos: true };
  const html = fs.readFileSync(writePage("forward", switches(c), { photos: true }), "utf8");
  const file = path.join(work, "reversed.html");
  const reversed = withLayerFilesReversed(html);
  assert.notEqual(reversed, html);
  assert.equal(reversed.length, html.length);
  fs.writeFileSync(file, reversed);
  await assertPageWorks(file, c);
  const { page, scriptErrors } = await open(online.context, file);
  try {
    assert.equal(await page.evaluate(() => profile.data.count > 0 && document.querySelector("#profile_strip canvas") !== null), true);
    assert.deepEqual(scriptErrors(), []);
  } finally {
    await page.close();
  }
});

test("GoogleMaps.api2_zoom opens on the first point at that zoom, 19 at most", async () => {
  for (const zoom of [12, 21]) {
    const file = writePage(`zoom${zoom}`, [`GoogleMaps.api2_zoom=${zoom}`]);
    const data = pageData(fs.readFileSync(file, "utf8"));
    const view = viewOf(data);
    const before = tileServer.requests.length;
    const { page, scriptErrors } = await open(online.context, file);
    try {
      assert.equal(await page.evaluate(() => map.getZoom()), Math.min(zoom, 19));
      const tiles = tilesOf(tileServer.requests.slice(before), streetTile);
      assert.deepEqual([...new Set(tiles.filter((t) => t.startsWith(`${view.zoom}/`)))].sort(), coveringTiles(view));
      await page.click("#map .leaflet-control-zoom-in");
      await page.clock.runFor(1000);
      assert.equal(await page.evaluate(() => map.getZoom()), Math.min(zoom + 1, 19));
      assert.deepEqual(scriptErrors(), []);
    } finally {
      await page.close();
    }
  }
});

test("the map-type control switches to satellite and hybrid tiles", async () => {
  const file = writePage("map_types", switches(combinations[0]));
  const { page, scriptErrors } = await open(online.context, file);
  try {
    const zoom = await page.evaluate(() => map.getZoom());
    const attribution = () => page.textContent("#map .leaflet-control-attribution");
    let before = tileServer.requests.length;
    await page.click("#map .map-type-control >> text=航空写真");
    await page.clock.runFor(500);
    await imagesSettled(page);
    let satellite = tilesOf(tileServer.requests.slice(before), satelliteTile);
    assert.ok(satellite.some((t) => t.startsWith(`${zoom}/`)), satellite.join(" "));
    const street = coveringTiles(viewOf(pageData(fs.readFileSync(file, "utf8"))));
    for (const t of street) assert.ok(satellite.includes(t), `satellite tile ${t}`);
    // Each map type shows the attributions of its own sources only.
    const shows = async (...expected) => {
      const text = await attribution();
      for (const a of [streetAttribution, satelliteAttribution, labelsAttribution]) {
        assert.equal(text.includes(a), expected.includes(a), `${a} in ${text}`);
      }
    };
    await shows(satelliteAttribution);
    assert.equal(await page.evaluate(() => map.getCurrentMapType() === G_SATELLITE_MAP), true);

    before = tileServer.requests.length;
    await page.click("#map .map-type-control >> text=地図+写真");
    await page.clock.runFor(500);
    await imagesSettled(page);
    const labels = tilesOf(tileServer.requests.slice(before), labelTile);
    satellite = tilesOf(tileServer.requests.slice(before), satelliteTile);
    for (const t of street) assert.ok(labels.includes(t), `label tile ${t}`);
    assert.ok(satellite.length >= street.length);
    await shows(satelliteAttribution, labelsAttribution);

    await page.click("#map .map-type-control >> text=地図");
    assert.equal(await page.evaluate(() => map.getCurrentMapType() === G_NORMAL_MAP), true);
    await shows(streetAttribution);
    // The long attribution wraps beside the scale, not over it.
    const [scale, credit] = await page.evaluate(() =>
      [".leaflet-control-scale", ".leaflet-control-attribution"].map((c) => {
        const box = document.querySelector(`#map ${c}`).getBoundingClientRect();
        return { left: box.left, right: box.right, bottom: box.bottom };
      }),
    );
    assert.ok(scale.right > scale.left && scale.right <= credit.left, `${scale.right} ${credit.left}`);
    assert.deepEqual(scriptErrors(), []);
  } finally {
    await page.close();
  }
});

test("offline: the track, markers and pins on a plain background, no script error", async () => {
  const c = { route: 1, analog: 1, altitude: 1, heading: 1, photos: true };
  const file = writePage("offline", switches(c), { photos: true });
  const data = pageData(fs.readFileSync(file, "utf8"));
  const view = viewOf(data);
  const { page, requests, scriptErrors } = await open(offline.context, file);
  try {
    assert.deepEqual(scriptErrors(), []);
    assert.ok(requests.some((r) => r.url().startsWith("https://server.arcgisonline.com/")), "tiles were tried");
    const broken = await page.evaluate(() =>
      [...document.querySelectorAll("#map img")].filter((img) => img.naturalWidth === 0 && getComputedStyle(img).visibility !== "hidden").length,
    );
    assert.equal(broken, 0, "no broken image shows");
    await assertTrackDrawn(page, view, data);
    await assertMarkersPlaced(page, view, data);
    await assertPhotoPin(page, data);
    assertOnlyExpectedRequests(requests, file);
    assert.deepEqual(scriptErrors(), []);
  } finally {
    await page.close();
  }
});

test("heading icons that cannot be loaded show the layer's own copies", async () => {
  const missing = pathToFileURL(path.join(work, "no-such-folder")).href;
  const file = writePage("no_icons", [`Common.icon_url=${missing}`]);
  const { page, scriptErrors } = await open(offline.context, file);
  try {
    await imagesSettled(page);
    const icons = await page.evaluate(() =>
      [...document.querySelectorAll("#map .leaflet-marker-pane img")].map((img) => ({
        copy: img.src.startsWith("data:image/png;base64,"),
        loaded: img.complete && img.naturalWidth > 0,
        size: [img.width, img.height],
      })),
    );
    assert.ok(icons.length > 1);
    for (const icon of icons) assert.deepEqual(icon, { copy: true, loaded: true, size: [28, 28] });
    // Each direction its own copy: the icons differ as the headings do.
    const sources = await page.evaluate(() => [...document.querySelectorAll("#map .leaflet-marker-pane img")].map((i) => i.src));
    const html = fs.readFileSync(file, "utf8");
    const numbers = [...html.matchAll(/createMarker(\d+)\(new GLatLng/g)].map((m) => m[1]);
    numbers.forEach((n, k) => {
      const first = numbers.indexOf(n);
      assert.equal(sources[k] === sources[first], true);
    });
    assert.ok(new Set(sources).size === new Set(numbers).size);
    assert.deepEqual(scriptErrors(), []);
  } finally {
    await page.close();
  }
});

test("unusable tile templates give the plain background and no tile requests; settings cannot break the page", async () => {
  const file = writePage("bad_tiles", [
    "GoogleMaps.tile_url=https://{s}.basemaps.cartocdn.com/{foo}/{z}/{x}/{y}.png",
    "GoogleMaps.satellite_url=",
    "GoogleMaps.labels_url=https://a.basemaps.cartocdn.com/labels/{x}/{y}.png",
    `GoogleMaps.tile_attribution=A "quote' </script><script>window.broken=1</script> ]]> <!-- <script>`,
  ]);
  const data = pageData(fs.readFileSync(file, "utf8"));
  const before = tileServer.requests.length;
  const { page, requests, scriptErrors } = await open(online.context, file);
  try {
    for (const name of ["航空写真", "地図+写真", "地図"]) {
      await page.click(`#map .map-type-control >> text=${name}`);
      await page.clock.runFor(300);
    }
    await sleep(200);
    assert.deepEqual(tileServer.requests.slice(before), []);
    assert.equal(requests.filter((r) => r.url().startsWith("https:")).length, 0);
    assert.equal(await page.evaluate(() => window.broken), undefined);
    assert.equal(await page.evaluate(() => document.querySelectorAll("#map .leaflet-tile").length), 0);
    await assertTrackDrawn(page, viewOf(data), data);
    assert.deepEqual(scriptErrors(), []);
  } finally {
    await page.close();
  }
});

test("a line of no weight draws nothing; an opacity above 1 draws as 1", async () => {
  for (const [name, settings, alpha] of [
    ["no_weight", ["GoogleMaps.line_width=0"], 0],
    ["over_opaque", ["GoogleMaps.line_alpha=150"], 255],
  ]) {
    const file = writePage(name, settings);
    const data = pageData(fs.readFileSync(file, "utf8"));
    const { page, scriptErrors } = await open(offline.context, file);
    try {
      const samples = trackSamples(viewOf(data), data).map((s) => s.at);
      assert.ok(samples.length >= 10);
      const pixels = await canvasPixels(page, samples);
      assert.deepEqual([...new Set(pixels.map((p) => p[3]))], [alpha], name);
      assert.deepEqual(scriptErrors(), []);
    } finally {
      await page.close();
    }
  }
});

test("above a source's deepest zoom the map draws that zoom's tiles scaled up", async () => {
  const file = writePage("max_zoom", ["GoogleMaps.api2_zoom=19", "GoogleMaps.tile_max_zoom=17", "GoogleMaps.satellite_max_zoom=18"]);
  const view = viewOf(pageData(fs.readFileSync(file, "utf8")));
  assert.equal(view.zoom, 19);
  let before = tileServer.requests.length;
  const { page, scriptErrors } = await open(online.context, file);
  try {
    assert.equal(await page.evaluate(() => map.getZoom()), 19);
    // The overview, at zoom 14, is within the street map's zooms.
    const street = tilesOf(tileServer.requests.slice(before), streetTile).filter((t) => !t.startsWith("14/"));
    assert.deepEqual([...new Set(street)].sort(), coveringTiles(view, 17));
    const sizes = await page.evaluate(() =>
      [...document.querySelectorAll("#map > .leaflet-map-pane > .leaflet-tile-pane img.leaflet-tile")].map((img) => img.getBoundingClientRect().width),
    );
    assert.ok(sizes.length > 0 && sizes.every((w) => Math.abs(w - 1024) < 0.5), sizes.join(" "));
    // The aerial photos and their labels stop at satellite_max_zoom.
    before = tileServer.requests.length;
    await page.click("#map .map-type-control >> text=地図+写真");
    await page.clock.runFor(500);
    await imagesSettled(page);
    const requested = tileServer.requests.slice(before);
    for (const pattern of [satelliteTile, labelTile]) {
      const tiles = tilesOf(requested, pattern).filter((t) => !t.startsWith("14/"));
      assert.deepEqual([...new Set(tiles)].sort(), coveringTiles(view, 18));
    }
    assert.deepEqual(scriptErrors(), []);
  } finally {
    await page.close();
  }
});

// RGBA of the screen (the page as drawn, controls included) at points of the page.
async function screenPixels(page, at) {
  const png = (await page.screenshot({ fullPage: true })).toString("base64");
  return page.evaluate(
    async ([data, spots]) => {
      const image = new Image();
      image.src = `data:image/png;base64,${data}`;
      await image.decode();
      const canvas = document.createElement("canvas");
      canvas.width = image.width;
      canvas.height = image.height;
      const context = canvas.getContext("2d");
      context.drawImage(image, 0, 0);
      return spots.map(([x, y]) => [...context.getImageData(Math.round(x), Math.round(y), 1, 1).data]);
    },
    [png, at],
  );
}

test("the overview has its size, frames the map's view and follows a pan", async () => {
  const file = writePage("overview", []);
  const { page, scriptErrors } = await open(online.context, file);
  try {
    const measured = await page.evaluate(() => {
      const element = document.querySelector("#map .overview-map");
      const overview = map._controls.map((c) => c.control._leafletControl).find((c) => c && c._overview)._overview;
      const size = overview.getSize();
      return { element: [element.clientWidth, element.clientHeight], leaflet: [size.x, size.y] };
    });
    assert.ok(measured.element[0] > 0 && measured.element[1] > 0, measured.element.join("x"));
    assert.deepEqual(measured.leaflet, measured.element);

    // The overview's state: its content box on the page, its zoom (five out), and the screen
    // places of its tiles against where its centre, the map's, puts them.
    const overviewState = () =>
      page.evaluate(() => {
        const element = document.querySelector("#map .overview-map");
        const box = element.getBoundingClientRect();
        const left = box.left + element.clientLeft;
        const top = box.top + element.clientTop;
        const tiles = [...element.querySelectorAll("img.leaflet-tile")].map((img) => {
          const m = /\/tile\/(\d+)\/(\d+)\/(\d+)$/.exec(img.src);
          const r = img.getBoundingClientRect();
          return { z: +m[1], y: +m[2], x: +m[3], left: r.left, top: r.top, shown: getComputedStyle(img).visibility !== "hidden" };
        });
        const c = map.getCenter();
        return { left, top, width: element.clientWidth, height: element.clientHeight, tiles, zoom: map.getZoom(), center: [c.lat(), c.lng()] };
      });
    const check = async (what) => {
      const s = await overviewState();
      const zoom = Math.max(0, s.zoom - 5);
      const [cx, cy] = worldPixel(s.center, zoom);
      const middle = [s.left + s.width / 2, s.top + s.height / 2];
      const current = s.tiles.filter((t) => t.z === zoom);
      assert.ok(current.length > 0, `${what}: overview tiles`);
      for (const t of current) {
        assert.ok(
          Math.abs(t.left - (middle[0] + t.x * 256 - cx)) <= 1 && Math.abs(t.top - (middle[1] + t.y * 256 - cy)) <= 1,
          `${what}: overview tile ${t.z}/${t.x}/${t.y} at ${t.left},${t.top}`,
        );
      }
      // The frame: the map's view box, 2^-5 of its size, around the overview's middle. Its blue
      // on each side (a line of one pixel on whole pixels, so blended half with the tile under
      // it), and neither well inside (the light fill) nor outside.
      const scale = 2 ** (zoom - s.zoom);
      const [hw, hh] = [(mapSize.width / 2) * scale, (mapSize.height / 2) * scale];
      const [mx, my] = middle;
      const near = [];
      for (const [x, y] of [[mx - hw, my], [mx + hw, my], [mx, my - hh], [mx, my + hh]]) {
        for (let dx = -2; dx <= 2; dx++) for (let dy = -2; dy <= 2; dy++) near.push([x + dx, y + dy]);
      }
      const away = [[mx, my], [mx - hw - 8, my], [mx + hw + 8, my], [mx, my - hh - 8], [mx, my + hh + 8]];
      const pixels = await screenPixels(page, [...near, ...away]);
      const isFrame = ([r, g, b]) => b - r >= 60 && b - g >= 40;
      for (let side = 0; side < 4; side++) {
        assert.ok(pixels.slice(side * 25, side * 25 + 25).some(isFrame), `${what}: frame side ${side}`);
      }
      assert.ok(!pixels.slice(100).some(isFrame), `${what}: only the frame has its colour`);
      return s;
    };
    const first = await check("at load");
    // A pan of the map east and south by 320 and 160 pixels moves the overview by a 32nd of that.
    await page.evaluate(() => {
      const [x, y] = [320, 160];
      const size = map.getSize();
      const point = map._leaflet.containerPointToLatLng([size.width / 2 + x, size.height / 2 + y]);
      map.setCenter(new GLatLng(point.lat, point.lng));
    });
    await page.clock.runFor(300);
    await imagesSettled(page);
    const second = await check("after a pan");
    const [a, b] = [worldPixel(first.center, first.zoom), worldPixel(second.center, second.zoom)];
    assert.ok(Math.abs(b[0] - a[0] - 320) <= 1 && Math.abs(b[1] - a[1] - 160) <= 1, "the map panned");
    assert.deepEqual(scriptErrors(), []);
  } finally {
    await page.close();
  }
});

test("a settings file holding the earlier tile defaults gives today's, and a save rewrites them", async () => {
  const ini = path.join(work, "earlier.ini");
  const earlier =
    "[GoogleMaps]\r\n" +
    "tile_url=https://{s}.basemaps.cartocdn.com/rastertiles/voyager/{z}/{x}/{y}{r}.png\r\n" +
    'tile_attribution=&copy; <a href="https://www.openstreetmap.org/copyright">OpenStreetMap</a> contributors ' +
    '&copy; <a href="https://carto.com/attributions">CARTO</a>\r\n' +
    "labels_url=https://{s}.basemaps.cartocdn.com/rastertiles/voyager_only_labels/{z}/{x}/{y}{r}.png\r\n";
  fs.writeFileSync(ini, earlier);
  const file = path.join(work, "earlier.html");
  execFileSync(convert, ["--quiet", "--settings", ini, "--html", "-o", file, logFile], { stdio: "inherit" });
  const view = viewOf(pageData(fs.readFileSync(file, "utf8")));
  const before = tileServer.requests.length;
  const { page, requests, scriptErrors } = await open(online.context, file);
  try {
    const tiles = tilesOf(tileServer.requests.slice(before), streetTile);
    assert.deepEqual([...new Set(tiles.filter((t) => t.startsWith(`${view.zoom}/`)))].sort(), coveringTiles(view));
    assert.ok((await page.textContent("#map .leaflet-control-attribution")).includes(streetAttribution));
    assertOnlyExpectedRequests(requests, file);
    assert.deepEqual(scriptErrors(), []);
  } finally {
    await page.close();
  }
  execFileSync(convert, ["--quiet", "--settings", ini, "--save-settings"], { stdio: "inherit" });
  const saved = fs.readFileSync(ini, "utf8");
  assert.doesNotMatch(saved, /cartocdn|CARTO/);
  assert.match(saved, /\r\ntile_url=https:\/\/server\.arcgisonline\.com\/ArcGIS\/rest\/services\/World_Street_Map\/MapServer\/tile\/\{z\}\/\{y\}\/\{x\}\r\n/);
  assert.match(saved, /\r\nlabels_url=https:\/\/server\.arcgisonline\.com\/ArcGIS\/rest\/services\/Reference\/World_Boundaries_and_Places\/MapServer\/tile\/\{z\}\/\{y\}\/\{x\}\r\n/);
  assert.match(saved, /\r\ntile_attribution=Tiles &copy; Esri &mdash; Source: Esri, DeLorme, /);
});
