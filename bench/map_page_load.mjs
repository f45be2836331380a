// Times, in headless Chromium, the navigation to a map page up to its load event plus the first
// complete drawing of its map: every image in the map complete (tiles from a stand-in tile
// server on loopback, markers), then two animation frames. Four pages, in turns, each a fresh
// tab per run:
//   built-in  the page with the built-in map layer and the profile strip (the page under test)
//   no profile  the same page without the profile strip (GoogleMaps.profile=0)
//   bare      a plain Leaflet page carrying the same data lines, drawing the same coordinates
//             and markers directly with Leaflet (written here from the built-in page)
//   loader    the page that loads the old map API, answered by a stand-in that does nothing
// Prints the medians and the ratios to the bare page, and the cost of one replay step with and
// without the strip. Started by map_page_load_bench.
//
//   node bench/map_page_load.mjs --builtin PAGE --no-profile PAGE --loader PAGE --icons DIR
//     [--runs N] [--chromium PATH]
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath, pathToFileURL } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const browserTests = path.join(here, "..", "tests", "browser");
const { chromium } = createRequire(path.join(browserTests, "package.json"))("playwright-core");
const { startTileServer, tileHosts } = await import(pathToFileURL(path.join(browserTests, "tile_server.mjs")).href);

function option(name, fallback) {
  const at = process.argv.indexOf(name);
  if (at >= 0 && at + 1 < process.argv.length) return process.argv[at + 1];
  if (fallback !== undefined) return fallback;
  throw new Error(`missing ${name}`);
}
const builtinPage = path.resolve(option("--builtin"));
const noProfilePage = path.resolve(option("--no-profile"));
const loaderPage = path.resolve(option("--loader"));
const runs = Number(option("--runs", "7"));
const chromiumPath = option("--chromium", "/usr/bin/chromium");

// The bare Leaflet page: Leaflet as the built-in page carries it, the page's own data lines, and
// just enough to turn them into Leaflet layers.
function writeBarePage() {
  const html = fs.readFileSync(builtinPage, "utf8");
  const between = (text, start, end, from = 0) => {
    const a = text.indexOf(start, from) + start.length;
    return [text.slice(a, text.indexOf(end, a)), text.indexOf(end, a)];
  };
  const [style, styleEnd] = between(html, "/*<![CDATA[*/\r\n", "    /*]]>*/");
  const [leaflet] = between(html, "//<![CDATA[\r\n", "    //]]>", styleEnd);
  const data = html
    .split("\r\n")
    .filter((line) => /^ {4}(points\.push|point_info\.push|time_info\.push|alt_info\.push|map\.addOverlay)\(/.test(line))
    .join("\n");
  const box = html.match(/getBoundsZoomLevel\(new GLatLngBounds\(new GLatLng\(([-\d.]+),([-\d.]+)\),new GLatLng\(([-\d.]+),([-\d.]+)\)\)\)/);
  const center = html.match(/map\.setCenter\(new GLatLng\(([-\d.]+),([-\d.]+)\)/);
  const icons = [...html.matchAll(/^ {4}icon(\d+)\.image = "([^"]*)";/gm)].map((m) => m[2]);
  const size = Number(html.match(/iconSize = new GSize\((\d+),/)[1]);
  const tileUrl = "https://server.arcgisonline.com/ArcGIS/rest/services/World_Street_Map/MapServer/tile/{z}/{y}/{x}";
  const out = path.join(path.dirname(builtinPage), "day1_bare.html");
  fs.writeFileSync(
    out,
    `<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>bare</title>
<style>${style}</style>
<script>${leaflet}</script>
<script>
var points = [], point_info = [], time_info = [], alt_info = [];
var leaflet, renderer;
function GLatLng(lat, lng) { return L.latLng(lat, lng); }
function GPolyline(line, color, weight, opacity) {
  return L.polyline(line, { renderer: renderer, color: color, weight: weight, opacity: opacity, interactive: false });
}
var icons = ${JSON.stringify(icons)}.map(function (url) {
  return L.icon({ iconUrl: url, iconSize: [${size}, ${size}], iconAnchor: [${size >> 1}, ${size >> 1}] });
});
for (var k = 0; k < 16; k++) {
  window["createMarker" + k] = (function (icon) {
    return function (point) { return L.marker(point, { icon: icon, keyboard: false }); };
  })(icons[k]);
}
var map = { addOverlay: function (layer) { leaflet.addLayer(layer); } };
function load() {
  leaflet = L.map("map", { maxZoom: 19 });
  renderer = L.canvas({ padding: 0.5 });
  var bounds = L.latLngBounds([${box[1]}, ${box[2]}], [${box[3]}, ${box[4]}]);
  leaflet.setView([${center[1]}, ${center[2]}], Math.min(19, leaflet.getBoundsZoom(bounds)));
  L.tileLayer(${JSON.stringify(tileUrl)}, { subdomains: "abc", maxZoom: 19 }).addTo(leaflet);
${data}
}
</script></head>
<body onload="load()"><div id="map" style="width:800px;height:600px;"></div></body></html>
`,
  );
  return out;
}

// The old API, doing nothing but what the page's own lines need to run.
const noOpApi = `(function () {
  function nothing() {}
  function type(methods) {
    var t = function () {};
    for (var name in methods) t.prototype[name] = methods[name];
    return t;
  }
  window.GLatLng = function (lat, lng) { this.a = lat; this.b = lng; };
  GLatLng.prototype.lat = function () { return this.a; };
  GLatLng.prototype.lng = function () { return this.b; };
  window.GSize = function (w, h) { this.width = w; this.height = h; };
  window.GPoint = function (x, y) { this.x = x; this.y = y; };
  window.GMap2 = function (container) { this.container = container; };
  GMap2.prototype = {
    getContainer: function () { return this.container; },
    getSize: function () { return new GSize(this.container.offsetWidth, this.container.offsetHeight); },
    addControl: function (control) { control.initialize(this); },
    getBoundsZoomLevel: function () { return 0; },
    removeControl: nothing, setCenter: nothing, panTo: nothing, setMapType: nothing,
    enableDoubleClickZoom: nothing, addOverlay: nothing, removeOverlay: nothing,
  };
  window.GControl = type({ initialize: function () { return null; }, getDefaultPosition: function () { return null; } });
  ["GLatLngBounds", "GIcon", "GMarker", "GPolyline", "GKeyboardHandler", "GControlPosition"].forEach(function (n) { window[n] = function () {}; });
  ["GLargeMapControl", "GMapTypeControl", "GScaleControl", "GOverviewMapControl"].forEach(function (n) { window[n] = GControl; });
  window.GEvent = { addListener: nothing, trigger: nothing };
  window.G_ANCHOR_TOP_LEFT = 1;
  window.G_NORMAL_MAP = {};
  window.GBrowserIsCompatible = function () { return true; };
  window.GUnload = nothing;
})();`;

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
};

// Milliseconds of one zoom in, one zoom out by three levels and one pan by 300 x 200 pixels of
// the Leaflet map at `mapOf` (a path of names from window), each without animation until two frames later.
async function timeMoves(page, mapOf) {
  return page.evaluate(async (names) => {
    const leaflet = names.split(".").reduce((object, name) => object[name], window);
    const frames = () => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));
    const time = async (move) => {
      const start = performance.now();
      move();
      await frames();
      return performance.now() - start;
    };
    return [
      await time(() => leaflet.zoomIn(1, { animate: false })),
      await time(() => leaflet.zoomOut(3, { animate: false })),
      await time(() => leaflet.panBy([300, 200], { animate: false })),
    ];
  }, mapOf);
}

// Milliseconds of replay steps on the drawn page: the step's own script (goForward, which moves
// the strip's cursor where there is one), and the step to the second frame after it. On a page
// with the strip, every other step runs with the cursor's move left out ("idle"), so that the
// strip's own share is measured in one page, free of the differences between tabs.
async function timeSteps(page) {
  return page.evaluate(async () => {
    const frames = () => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));
    const result = { script: [], framed: [], idleScript: [], idleFramed: [] };
    const strip = typeof profile === "object" && profile !== null ? profile : null;
    const move = strip ? strip.setCursor : null;
    for (let k = 0; k < 40; k++) {
      const idle = strip !== null && k % 2 === 1;
      if (strip) strip.setCursor = idle ? function () {} : move;
      const start = performance.now();
      goForward();
      window.clearTimeout(playTimer);
      playing = false;
      const script = performance.now() - start;
      await frames();
      const framed = performance.now() - start;
      result[idle ? "idleScript" : "script"].push(script);
      result[idle ? "idleFramed" : "framed"].push(framed);
    }
    if (strip) {
      strip.setCursor = move;
      // The cursor's move alone, with the style and layout it causes: 1,000 moves.
      const start = performance.now();
      for (let k = 0; k < 1000; k++) {
        strip.setCursor((k * 86) % strip.data.count);
        void strip._cursor.offsetLeft;
      }
      result.cursorMove = [(performance.now() - start) / 1000];
    }
    return result;
  });
}

// Milliseconds from navigation start to the map's first complete drawing.
async function timeLoad(context, file, mapOf, steps) {
  const page = await context.newPage();
  const session = await context.newCDPSession(page);
  await session.send("Performance.enable");
  const errors = [];
  page.on("pageerror", (error) => errors.push(String(error)));
  await page.goto(pathToFileURL(file).href, { waitUntil: "load", timeout: 120000 });
  const ms = await page.evaluate(
    () =>
      new Promise((resolve) => {
        const check = () => {
          if ([...document.querySelectorAll("#map img")].every((img) => img.complete)) {
            requestAnimationFrame(() => requestAnimationFrame(() => resolve(performance.now())));
          } else {
            setTimeout(check, 2);
          }
        };
        check();
      }),
  );
  const images = await page.evaluate(() => document.querySelectorAll("#map img").length);
  const { metrics } = await session.send("Performance.getMetrics");
  const busy = 1000 * metrics.find((m) => m.name === "TaskDuration").value;
  const moves = mapOf ? await timeMoves(page, mapOf) : null;
  const replay = steps ? await timeSteps(page) : null;
  await page.close();
  if (errors.length > 0) throw new Error(`${path.basename(file)}: ${errors[0]}`);
  return { ms, busy, images, moves, replay };
}

const tiles = await startTileServer();
const api = http.createServer((request, response) => {
  response.writeHead(200, { "Content-Type": "text/javascript" });
  response.end(noOpApi);
});
await new Promise((resolve) => api.listen(0, "127.0.0.1", resolve));
const apiAddress = `127.0.0.1:${api.address().port}`;
const rules = [...tileHosts.map((h) => `MAP ${h} ${tiles.address}`), `MAP maps.google.com ${apiAddress}`];
const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), "tolvane-bench-chromium-"));
const context = await chromium.launchPersistentContext(userDataDir, {
  executablePath: chromiumPath,
  headless: true,
  viewport: { width: 1280, height: 800 },
  args: [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--ignore-certificate-errors",
    `--host-resolver-rules=${rules.join(", ")}, MAP * ~NOTFOUND`,
    "--proxy-server=http://127.0.0.1:9",
    `--proxy-bypass-list=${[...tileHosts, "maps.google.com"].join(";")}`,
  ],
});

try {
  const pages = { "built-in": builtinPage, "no profile": noProfilePage, bare: writeBarePage(), loader: loaderPage };
  const times = Object.fromEntries(Object.keys(pages).map((k) => [k, []]));
  const busy = Object.fromEntries(Object.keys(pages).map((k) => [k, []]));
  const mapOf = { "built-in": "map._leaflet", "no profile": "map._leaflet", bare: "leaflet" };
  const moves = { "built-in": [[], [], []], "no profile": [[], [], []], bare: [[], [], []] };
  const steps = {
    "built-in": { script: [], framed: [], idleScript: [], idleFramed: [], cursorMove: [] },
    "no profile": { script: [], framed: [], idleScript: [], idleFramed: [] },
  };
  const images = {};
  await timeLoad(context, pages.bare); // warm-up: Chromium's first tab
  for (let r = 0; r < runs; r++) {
    for (const [name, file] of Object.entries(pages)) {
      const { ms, busy: taskMs, images: count, moves: m, replay } = await timeLoad(context, file, mapOf[name], name in steps);
      if (m) m.forEach((v, k) => moves[name][k].push(v));
      if (replay) for (const key of Object.keys(replay)) steps[name][key].push(...replay[key]);
      times[name].push(ms);
      busy[name].push(taskMs);
      images[name] = count;
    }
  }
  const mb = (file) => (fs.statSync(file).size / 1e6).toFixed(1);
  console.log(`runs: ${runs} (medians); load average ${os.loadavg()[0].toFixed(1)}; ${os.cpus().length} cores`);
  console.log("wall: navigation to the drawn map; main thread: the renderer's busy time until then");
  console.log(`${"page".padEnd(11)} ${"MB".padStart(6)} ${"images".padStart(7)} ${"wall ms".padStart(8)} ${"/ bare".padStart(7)} ${"main ms".padStart(8)} ${"/ bare".padStart(7)}`);
  const bare = median(times.bare);
  const bareBusy = median(busy.bare);
  for (const [name, file] of Object.entries(pages)) {
    const m = median(times[name]);
    const b = median(busy[name]);
    console.log(
      `${name.padEnd(11)} ${mb(file).padStart(6)} ${String(images[name]).padStart(7)} ${m.toFixed(0).padStart(8)} ${(m / bare).toFixed(2).padStart(7)} ${b.toFixed(0).padStart(8)} ${(b / bareBusy).toFixed(2).padStart(7)}`,
    );
  }
  console.log("moving the drawn map, ms to the second frame after: zoom in, zoom out 3, pan");
  for (const name of Object.keys(moves)) {
    console.log(`${name.padEnd(11)} ${moves[name].map((v) => median(v).toFixed(0).padStart(6)).join(" ")}`);
  }
  console.log(
    `goal: built-in / bare at most 1.30: ${(median(times["built-in"]) / bare).toFixed(2)} (wall), ` +
      `${(median(busy["built-in"]) / bareBusy).toFixed(2)} (main thread)`,
  );
  const plain = "no profile";
  console.log(
    `goal: built-in (with the strip) / no profile at most 1.30: ` +
      `${(median(times["built-in"]) / median(times[plain])).toFixed(2)} (wall), ` +
      `${(median(busy["built-in"]) / median(busy[plain])).toFixed(2)} (main thread)`,
  );
  console.log("one replay step, ms (medians): its script; to the second frame after");
  const row = (label, script, framed) =>
    console.log(`${label.padEnd(24)} ${median(script).toFixed(3).padStart(8)} ${median(framed).toFixed(2).padStart(8)}`);
  row("built-in", steps["built-in"].script, steps["built-in"].framed);
  row("built-in, cursor idle", steps["built-in"].idleScript, steps["built-in"].idleFramed);
  row("no profile", steps[plain].script, steps[plain].framed);
  console.log(`one move of the strip's cursor with its style and layout: ${median(steps["built-in"].cursorMove).toFixed(4)} ms`);
  const own = (key, idle) => median(steps["built-in"][key]) - median(steps["built-in"][idle]);
  console.log(
    `goal: a step with the strip at most 1 ms more: the cursor's share ${own("script", "idleScript").toFixed(3)} ` +
      `(script), ${own("framed", "idleFramed").toFixed(2)} (to the frame); against the page without the strip ` +
      `${(median(steps["built-in"].script) - median(steps[plain].script)).toFixed(3)} (script), ` +
      `${(median(steps["built-in"].framed) - median(steps[plain].framed)).toFixed(2)} (to the frame)`,
  );
} finally {
  await context.close();
  api.close();
  tiles.stop();
  fs.rmSync(userDataDir, { recursive: true, force: true });
}
