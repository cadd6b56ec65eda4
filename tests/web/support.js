// What the web checks share: where the builds are, the program run headless in Node, the site
// served on this machine, and Debian's Chromium driven through the DevTools protocol.
"use strict";
const childProcess = require("node:child_process");
const fs = require("node:fs");
const http = require("node:http");
const os = require("node:os");
const path = require("node:path");

const top = path.resolve(__dirname, "../..");
const site = path.resolve(process.env.ZINTREL_WEB_SITE || path.join(top, "build-web/site"));
const desktop = path.resolve(process.env.ZINTREL_DESKTOP_GAME || path.join(top, "build/game"));
const recordings = path.join(top, "tests/replay/recordings");

// Runs a program headless in a folder; resolves to its status and standard error.
function run(program, args, folder, env = {}) {
  return new Promise((resolve) => {
    const child = childProcess.spawn(program, args, {
      cwd: folder,
      env: {...process.env, SDL_VIDEODRIVER: "dummy", SDL_AUDIODRIVER: "dummy",
            ZINTREL_NO_DIALOGS: "1", ...env},
      stdio: ["ignore", "ignore", "pipe"],
    });
    let said = "";
    child.stderr.on("data", (chunk) => said += chunk);
    child.on("close", (status) => resolve({status, said}));
  });
}

// The page's program in Node, with the host's files under /host.
const runInNode = (args) =>
  run(process.execPath, ["--no-experimental-fetch", path.join(site, "zintrel.js"), ...args], site);
// The desktop program, with a settings folder of its own in the folder.
const runOnDesktop = (args, folder) => run(path.join(desktop, "zintrel"), args, folder,
                                           {XDG_CONFIG_HOME: path.join(folder, "config")});

const types = {".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
               ".css": "text/css", ".jpg": "image/jpeg", ".ttf": "font/ttf"};

// Serves the site on a free port of this machine; resolves to the server and its address.
function serveSite() {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
    const file = path.join(site, name === "/" ? "index.html" : name);
    if (!file.startsWith(site) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {"Content-Type": types[path.extname(file)] || "application/octet-stream"});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => {
    resolve({server, url: `http://127.0.0.1:${server.address().port}/`});
  }));
}

// Debian's Chromium, headless, with a profile of its own (new and empty unless one is given, so
// that a reload keeps what the page stored).
async function launchChromium(profile, extraArgs = []) {
  const {chromium} = require("playwright-core");
  const folder = profile || fs.mkdtempSync(path.join(os.tmpdir(), "zintrel-chromium-"));
  const context = await chromium.launchPersistentContext(folder, {
    executablePath: "/usr/bin/chromium",
    headless: true,
    viewport: {width: 1100, height: 900},
    acceptDownloads: true,
    // WebGL drawn by SwiftShader in the GPU's process, as a browser without a GPU draws: with
    // the GPU switched off, Chromium draws in the page's own thread and the frame waits for it.
    args: ["--headless", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
           "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync",
           ...extraArgs],
  });
  return {context, folder};
}

module.exports = {top, site, desktop, recordings, runInNode, runOnDesktop, serveSite,
                  launchChromium};
