// A stand-in for the tile services on loopback, over TLS with a certificate made for the run:
// answers every request with a small image and records the host and path of each.
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import https from "node:https";
import os from "node:os";
import path from "node:path";

// A 1 x 1 light grey PNG; the map draws it at the tile's size.
const tileImage = Buffer.from(
  "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAAAAAA6fptVAAAACklEQVR4nGN4AgAA5gDlWNqJzgAAAABJRU5ErkJggg==",
  "base64",
);

// The host names of the default tile sources, each served by the stand-in: the only hosts that a
// page written with the defaults may ask.
export const tileHosts = ["server.arcgisonline.com"];

// Starts the server; returns its address ("127.0.0.1:port"), the record of requests
// ({host, path}) and a function that stops it.
export async function startTileServer() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "tolvane-tiles-"));
  const key = path.join(folder, "key.pem");
  const cert = path.join(folder, "cert.pem");
  execFileSync("openssl", [
    "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=tiles",
    "-keyout", key, "-out", cert,
  ], { stdio: "ignore" });
  const requests = [];
  const server = https.createServer(
    { key: fs.readFileSync(key), cert: fs.readFileSync(cert) },
    (request, response) => {
      requests.push({ host: String(request.headers.host).replace(/:\d+$/, ""), path: request.url });
      response.writeHead(200, { "Content-Type": "image/png", "Cache-Control": "no-store" });
      response.end(tileImage);
    },
  );
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const address = `127.0.0.1:${server.address().port}`;
  const stop = () => {
    server.close();
    fs.rmSync(folder, { recursive: true, force: true });
  };
  return { address, requests, stop };
}
