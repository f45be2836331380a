// What the browser tests share: their command-line options, one headless Chromium in which only
// the stand-in for the map API and file:// addresses are served, and pages opened with a
// controlled clock and a record of their script errors.
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

let chromium;
try {
  ({ chromium } = await import("playwright-core"));
} catch (error) {
  console.error("playwright-core is missing: run scripts/install-deps.sh (npm ci in tests/browser)");
  process.exit(1);
}

const here = path.dirname(fileURLToPath(import.meta.url));
const loaderHost = "maps.google.com";
const loaderPath = "/maps?file=api";

export function option(name, fallback) {
  const at = process.argv.indexOf(name);
  if (at >= 0 && at + 1 < process.argv.length) return process.argv[at + 1];
  if (fallback !== undefined) return fallback;
  throw new Error(`missing ${name}`);
}

// Starts Chromium; returns the context and a function that closes it again. `hosts` maps more
// host names to loopback addresses ("127.0.0.1:port"), served over TLS with certificates that
// Chromium is told to accept.
//
// The map API's loader host is mapped to a local server that answers with the stand-in; every
// other host name resolves to nothing and every other address goes to a closed proxy port, so
// nothing leaves the machine. (Intercepting requests instead would stall the loads of a child
// window that the page writes with document.write.)
export async function launchBrowser(chromiumPath, { hosts = {} } = {}) {
  const stub = fs.readFileSync(path.join(here, "map_api_stub.js"), "utf8");
  const server = http.createServer((request, response) => {
    if (request.url.startsWith(loaderPath)) {
      response.writeHead(200, { "Content-Type": "text/javascript" });
      response.end(stub);
    } else {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const { port } = server.address();
  const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), "tolvane-chromium-"));
  const mapped = Object.entries(hosts);
  const rules = [`MAP ${loaderHost} 127.0.0.1:${port}`, ...mapped.map(([h, to]) => `MAP ${h} ${to}`)];
  const context = await chromium.launchPersistentContext(userDataDir, {
    executablePath: chromiumPath,
    headless: true,
    args: [
      "--headless",
      "--no-sandbox",
      "--disable-gpu",
      "--disable-quic",
      "--no-first-run",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      `--host-resolver-rules=${rules.join(", ")}, MAP * ~NOTFOUND`,
      "--proxy-server=http://127.0.0.1:9",
      `--proxy-bypass-list=${[loaderHost, ...mapped.map(([h]) => h)].join(";")}`,
      ...(mapped.length > 0 ? ["--ignore-certificate-errors"] : []),
    ],
  });
  context.setDefaultTimeout(10000);
  const close = async () => {
    await context.close();
    server.close();
    fs.rmSync(userDataDir, { recursive: true, force: true });
  };
  return { context, close };
}

// Opens a page with a controlled clock; returns it with the errors it reported.
export async function openPage(context, file) {
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(String(error)));
  page.on("console", (message) => {
    if (message.type() === "error") errors.push(message.text());
  });
  await page.clock.install({ time: 0 });
  await page.goto(pathToFileURL(file).href, { waitUntil: "load" });
  return { page, errors };
}

// Stops the page's clock from following real time, so that only runFor moves it: a loaded
// machine then cannot slip an extra timer tick in between two steps of a test.
export async function pauseClock(page) {
  // A second ahead: the controller's own time may be past what the page last read.
  await page.clock.pauseAt((await page.evaluate(() => Date.now())) + 1000);
}

// Whether the time read-out shows point_info[index] (compared as the browser parses both).
export async function readOutShows(page, index) {
  return page.evaluate((i) => {
    const shown = document.getElementById("time_value");
    const expected = document.createElement("div");
    expected.innerHTML = point_info[i];
    return shown !== null && shown.innerHTML === expected.innerHTML;
  }, index);
}
