// The page driven in Debian's Chromium, headless, as a player would: the title and its F12, a game
// started with Space and Enter and steered with the mouse, played to game over with a name
// entered that a reload keeps, levels dropped on the page, records saved, replayed on the desktop
// and in the page, full screen, the cover asking for a click, storage refused; with the first
// load's size, the time to the title and the time of a frame of play measured.
"use strict";
const assert = require("node:assert");
const childProcess = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const test = require("node:test");
const zlib = require("node:zlib");
const {site, desktop, recordings, serveSite, launchChromium, runOnDesktop} =
    require("./support.js");

const home = "/home/web_user/.local/share/zintrel";
const work = fs.mkdtempSync(path.join(os.tmpdir(), "zintrel-page-"));
const measures = {};
let served;
let browser;
let page;

test.before(async () => {
  served = await serveSite();
  browser = await launchChromium();
  page = browser.context.pages()[0] || await browser.context.newPage();
  // The browser's Gamepad API, stood in for: a standard pad that the checks plug in and press.
  await page.addInitScript(() => {
    const pads = [];
    Object.defineProperty(Navigator.prototype, "getGamepads", {value: () => pads});
    window.zintrelPlugPad = () => {
      const pad = {id: "Stand-in pad", index: 0, connected: true, mapping: "standard",
                   timestamp: performance.now(), axes: [0, 0, 0, 0],
                   buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
      pads[0] = pad;
      const plugged = new Event("gamepadconnected");
      plugged.gamepad = pad;
      window.dispatchEvent(plugged);
    };
    // A change the browser reports is a new sample, with a new time.
    window.zintrelPress = (button, down, stickX = 0) => {
      pads[0].buttons[button] = {pressed: down, value: down ? 1 : 0};
      pads[0].axes[0] = stickX;
      pads[0].timestamp = performance.now();
    };
  });
});

test.after(async () => {
  await browser.context.close();
  served.server.close();
  console.log("measured: " + JSON.stringify(measures));
  fs.rmSync(work, {recursive: true, force: true});
});

const pause = (milliseconds) => new Promise((resolve) => setTimeout(resolve, milliseconds));

async function waitFor(what, check, seconds = 20) {
  const until = Date.now() + seconds * 1000;
  for (;;) {
    const value = await check();
    if (value) {
      return value;
    }
    if (Date.now() > until) {
      throw new Error("waited in vain for " + what);
    }
    await pause(100);
  }
}

// Loads the page and waits for its program to run; a cover asking for a click is clicked.
async function load(on, query = "") {
  await on.goto(served.url + query);
  await on.waitForFunction(() => window.Module && Module.calledRun, null, {timeout: 20000});
  await pause(400);
  if (await on.isVisible("#cover")) {
    await on.click("#cover");
  }
}

function files(on, folder) {
  return on.evaluate((f) => Module.zintrelListFolder(f), folder);
}

async function readFile(on, file) {
  const bytes = await on.evaluate((f) => {
    const b = Module.zintrelReadFile(f);
    return b ? Array.from(b) : null;
  }, file);
  return bytes && Buffer.from(bytes);
}

// What the page's record holds so far, read in the page: the numbers of the last frame of play,
// the last full dump's value of the paddle's place, and the files it carried and needed.
function record(on = page) {
  return on.evaluate(() => {
    const bytes = Module.zintrelReadFile("/tmp/zintrel.rec");
    const text = bytes ? new TextDecoder().decode(bytes) : "";
    const last = (kind) => {
      const at = text.lastIndexOf(` ${kind} `);
      return at < 0 ? "" : text.slice(at, text.indexOf("\n", at));
    };
    const frame = {};
    for (const [, name, value] of last("frame").matchAll(/(\w+)=(\S+)/g)) {
      frame[name] = value;
    }
    const paddle = last("dump").match(/ paddle\.x=(\S+)/);
    return {frame, paddleX: paddle && Number(paddle[1]), ended: /\d+ end\n?$/.test(text),
            carried: [...text.matchAll(/^carry (\S+) /gm)].map((m) => m[1]),
            needed: [...text.matchAll(/^needs (\S+)$/gm)].map((m) => m[1])};
  });
}

// F12: resolves to the name of the screenshot it saved within the time.
async function pressF12(on, seconds = 5) {
  const before = await files(on, home);
  await on.keyboard.press("F12");
  return waitFor("F12's screenshot", async () => {
    const added = (await files(on, home)).filter((n) => /\.png$/.test(n) && !before.includes(n));
    return added[0];
  }, seconds);
}

// F12: resolves to the bytes of the screenshot it saved.
async function f12(on) {
  return readFile(on, home + "/" + await pressF12(on));
}

async function messages(on) {
  return on.textContent("#messages");
}

test("the first load is under 12 MB gzip-compressed", () => {
  let total = 0;
  for (const name of fs.readdirSync(site)) {
    if (fs.statSync(path.join(site, name)).isFile() && !/\.txt$|\.stamp$/.test(name)) {
      total += zlib.gzipSync(fs.readFileSync(path.join(site, name)), {level: 9}).length;
    }
  }
  measures.firstLoadGzipBytes = total;
  assert.ok(total < 12 * 1024 * 1024, `${total} bytes`);
});

test("the title shows, and F12 equals the desktop's", async () => {
  const started = Date.now();
  await page.goto(served.url);
  // The first F12 that finds a frame on show saves it.
  let shot = null;
  await waitFor("the title", async () => {
    if (await page.evaluate(() => window.Module && Module.calledRun)) {
      shot = await pressF12(page, 0.3).catch(() => null);
    }
    return shot;
  }, 20);
  measures.titleMilliseconds = Date.now() - started;

  await pause(1500);
  fs.writeFileSync(path.join(work, "page.png"), await f12(page));
  childProcess.execFileSync(path.join(__dirname, "desktop_title.sh"),
                            [desktop, path.join(work, "desktop.png")], {stdio: "inherit"});
  const differing = childProcess.spawnSync(
      "compare", ["-metric", "AE", path.join(work, "page.png"), path.join(work, "desktop.png"),
                  "null:"], {encoding: "utf8"});
  assert.strictEqual(differing.stderr.trim(), "0", "pixels differing from the desktop's F12");
});

test("Space and Enter start a game, the mouse moves the paddle and is held", async () => {
  await page.keyboard.press("Space");
  await pause(500);
  await page.keyboard.press("Enter");
  await waitFor("a frame of play", async () => (await record()).frame.state, 10);
  const box = await page.locator("#canvas").boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  const before = await waitFor("a full dump", async () => (await record()).paddleX, 10);
  for (let step = 1; step <= 20; ++step) {
    await page.mouse.move(box.x + box.width / 2 - step * 10, box.y + box.height / 2);
  }
  const after = await waitFor("the paddle's move", async () => {
    const x = (await record()).paddleX;
    return x !== before && x;
  }, 5);
  assert.ok(after < before, `the paddle went from ${before} to ${after}`);
  // In play the mouse is held to the game: the browser locks the pointer at the first click.
  await page.mouse.down();
  await page.mouse.up();
  await waitFor("the pointer locked", () => page.evaluate(() => document.pointerLockElement &&
                                                               document.pointerLockElement.id), 5);

  // The program's work in a frame of play: the processor time of the animation frame's task
  // and of the timers its sleeps end in, as Chromium's trace gives it (the wall time, which the
  // program keeps, counts the time other processes of a busy machine take too).
  const trace = await page.context().newCDPSession(page);
  const events = [];
  trace.on("Tracing.dataCollected", (collected) => events.push(...collected.value));
  const traced = new Promise((resolve) => trace.once("Tracing.tracingComplete", resolve));
  await trace.send("Tracing.start", {traceConfig: {includedCategories: ["devtools.timeline"]},
                                     transferMode: "ReportEvents"});
  const shown = await page.evaluate(() => Module.zintrelFrameTimes.length);
  await pause(3000);
  await trace.send("Tracing.end");
  await traced;
  await trace.detach();
  const work = [];
  for (const event of events.filter((e) => e.ph === "X" && e.tdur).sort((a, b) => a.ts - b.ts)) {
    if (event.name === "FireAnimationFrame") {
      work.push(event.tdur / 1000);
    } else if (event.name === "TimerFire" && work.length > 0) {
      work[work.length - 1] += event.tdur / 1000;
    }
  }
  const wall = await page.evaluate((from) => Module.zintrelFrameTimes.slice(from), shown);
  const median = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];
  const p99 = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length * 0.99)];
  Object.assign(measures, {frames: work.length, frameMedianMilliseconds: median(work),
                          frame99Milliseconds: p99(work), frameWallMedianMilliseconds: median(wall),
                          frameWall99Milliseconds: p99(wall)});
  assert.ok(work.length > 30, JSON.stringify(measures));
});

// Acts, then resolves once the paddle has gone the way asked (-1 left, 1 right) from where it
// was.
async function paddleGoes(way, what, act) {
  const before = (await record()).paddleX;
  await act();
  return waitFor(what, async () => Math.sign((await record()).paddleX - before) === way, 10);
}

test("a game controller and touch move the paddle", async () => {
  await page.evaluate(() => window.zintrelPlugPad());
  const dpadRight = 15;
  await paddleGoes(1, "the paddle moved by the d-pad",
                   () => page.evaluate((b) => window.zintrelPress(b, true), dpadRight));
  await paddleGoes(-1, "the paddle moved by the stick",
                   () => page.evaluate((b) => window.zintrelPress(b, false, -1), dpadRight));
  await page.evaluate(() => window.zintrelPress(0, false, 0));

  // A finger put down on the right of the game and drawn further right.
  const touch = await page.context().newCDPSession(page);
  await touch.send("Emulation.setTouchEmulationEnabled", {enabled: true, maxTouchPoints: 1});
  const box = await page.locator("#canvas").boundingBox();
  const at = (x) => [{x: box.x + x, y: box.y + box.height * 0.8, id: 1}];
  await paddleGoes(1, "the paddle moved by touch", async () => {
    await touch.send("Input.dispatchTouchEvent",
                     {type: "touchStart", touchPoints: at(box.width * 0.7)});
    for (let step = 1; step <= 10; ++step) {
      await touch.send("Input.dispatchTouchEvent",
                       {type: "touchMove", touchPoints: at(box.width * 0.7 + step * 10)});
    }
  });
  await touch.send("Input.dispatchTouchEvent", {type: "touchEnd", touchPoints: []});
  await touch.detach();
});

test("a game played to game over takes a name, which a reload keeps", async () => {
  // A Hall of Fame of nobodies: any points reach it.
  await page.evaluate((file) => {
    Module.zintrelWriteFile(file, "0 Nobody\r\n".repeat(24));
    return new Promise((resolve) => Module.zintrelWriteHome(resolve));
  }, home + "/znscore.hof");
  await load(page);
  await page.keyboard.press("Space");
  await pause(500);
  await page.keyboard.press("Enter");
  // The paddle is held at the left edge; every ball that rides it is sent off at once.
  await page.keyboard.down("ArrowLeft");
  // The last life is being lost (no frame of play is recorded after it).
  await waitFor("the last life lost", async () => {
    await page.keyboard.press("Space");
    const {frame} = await record();
    return frame.state === "2" && frame.lives === "1";
  }, 300);
  await page.keyboard.up("ArrowLeft");
  await pause(3000);
  assert.ok(Number((await record()).frame.score) > 0, "the game scored nothing");
  await pause(1000);
  await page.keyboard.press("Enter");
  await pause(1000);
  await page.keyboard.type("Webby");
  await page.keyboard.press("Enter");
  await pause(1000);
  await page.keyboard.press("Escape");
  await pause(1000);
  await page.keyboard.press("Escape");
  await waitFor("the end of the program", () => page.evaluate(() => window.zintrelEnded));
  await waitFor("the record's end", async () => (await record()).ended, 5);
  // The record of the last game, saved by the page's button, replays on the desktop.
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#record")]);
  const saved = path.join(work, "page-game.rec");
  await download.saveAs(saved);
  const replayed = await runOnDesktop(["--replay", saved], work);
  assert.strictEqual(replayed.status, 0, replayed.said);

  await load(page);
  assert.match(String(await readFile(page, home + "/znscore.hof")), /Webby/);
});

test("an option changed is kept across a reload", async () => {
  await load(page);
  await page.keyboard.press("o");
  await pause(500);
  // The first row, the effects' volume, turned down.
  await page.keyboard.press("ArrowLeft");
  await pause(500);
  await page.keyboard.press("Escape");
  await load(page);
  const settings = String(await readFile(page, "/home/web_user/.config/zintrel/zintrel.conf"));
  assert.match(settings, /effects_volume = [1-9]\d?\n/);
});

test("a dropped level file with its picture is kept, chosen and played", async () => {
  const harbour = fs.readFileSync(path.join(desktop, "Harbour.znl"), "latin1");
  const level = Buffer.from(harbour.replace("harbour01.jpg", "dunes01.jpg"), "latin1");
  const picture = fs.readFileSync(path.join(desktop, "harbour02.jpg"));
  // Accepted while no game is in play, they are on the selection once the page starts again.
  await Promise.all([page.waitForNavigation(),
                     drop([{name: "Dunes.znl", bytes: level}, {name: "dunes01.jpg", bytes: picture}])]);
  await page.waitForFunction(() => window.Module && Module.calledRun);
  const kept = await files(page, home);
  assert.ok(kept.includes("Dunes.znl") && kept.includes("dunes01.jpg"), kept.join(" "));
  await page.keyboard.press("Space");
  await pause(500);
  await page.keyboard.press("Enter");
  const played = await waitFor("the dropped level in play", async () => {
    const facts = await record();
    return facts.frame.state && facts;
  }, 15);
  assert.ok(played.carried.includes("Dunes.znl"), played.carried.join(" "));
  assert.ok(played.needed.includes("dunes01.jpg"), played.needed.join(" "));
});

test("a dropped damaged pack shows its message and is not kept", async () => {
  const pack = fs.readFileSync(path.join(desktop, "GullCoast.znk")).subarray(0, 3000);
  await drop([{name: "Broken.znk", bytes: pack}]);
  await waitFor("the message", async () => /Broken\.znk corrupted/.test(await messages(page)));
  assert.ok(!(await files(page, home)).includes("Broken.znk"));
});

// Drops the files on the page, as a player drags them from the desktop.
async function drop(dropped) {
  await page.evaluate((list) => {
    const transfer = new DataTransfer();
    for (const file of list) {
      transfer.items.add(new File([new Uint8Array(file.bytes)], file.name));
    }
    window.dispatchEvent(new DragEvent("drop", {dataTransfer: transfer, bubbles: true}));
  }, dropped.map((f) => ({name: f.name, bytes: Array.from(f.bytes)})));
}

test("a record chosen on the page replays there frame for frame", async () => {
  await page.setInputFiles("#replay", path.join(recordings, "bombs-60.rec.gz"));
  await page.waitForURL(/\?replay/);
  await waitFor("the replay's end", () => page.evaluate(() => window.zintrelEnded), 180);
  assert.match(await messages(page), /All \d+ frames of play matched the record/);
});

test("full screen by the page's button and by Alt+Enter", async () => {
  await load(page);
  await page.click("#fullscreen");
  await waitFor("full screen", () => page.evaluate(() => !!document.fullscreenElement), 5);
  await page.evaluate(() => document.exitFullscreen());
  await waitFor("the page", () => page.evaluate(() => !document.fullscreenElement), 5);
  await page.click("#canvas");
  // Held as a player holds them: the program takes the keys at its next frame, and the browser
  // goes full screen at the next key event after that.
  await page.keyboard.down("Alt");
  await page.keyboard.down("Enter");
  await pause(200);
  await page.keyboard.up("Enter");
  await page.keyboard.up("Alt");
  await waitFor("full screen", () => page.evaluate(() => !!document.fullscreenElement), 5);
});

test("where the browser holds sound back, a cover asks for a click", async () => {
  const held = await launchChromium();
  const covered = held.context.pages()[0];
  // As a browser that plays no sound before a gesture: its audio contexts wait, suspended.
  await covered.addInitScript(() => {
    Object.defineProperty(AudioContext.prototype, "state", {get: () => "suspended"});
  });
  await covered.goto(served.url);
  await covered.waitForSelector("#cover", {state: "visible"});
  await covered.screenshot({path: path.join(work, "cover.png")});
  await covered.click("#cover");
  await covered.waitForSelector("#cover", {state: "hidden"});
  await held.context.close();
});

test("storage refused is said once, and the game plays on", async () => {
  const refused = await launchChromium();
  const on = refused.context.pages()[0];
  await on.addInitScript(() => {
    IDBFactory.prototype.open = () => {
      throw new DOMException("The user denied permission to access the database.",
                             "SecurityError");
    };
  });
  await load(on);
  await pause(1000);
  assert.ok(await f12(on));
  const said = (await messages(on)).match(/keeps nothing/g) || [];
  assert.strictEqual(said.length, 1, await messages(on));
  await refused.context.close();
});
