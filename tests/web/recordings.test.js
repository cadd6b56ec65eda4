// Every recorded game of the test bot replays frame for frame in the page's program, run
// headless in Node: the play field computes the same bits in WebAssembly as on the desktop; a
// record of another version is refused as the desktop refuses it.
"use strict";
const assert = require("node:assert");
const fs = require("node:fs");
const path = require("node:path");
const test = require("node:test");
const os = require("node:os");
const zlib = require("node:zlib");
const {recordings, runInNode, runOnDesktop} = require("./support.js");

const records = fs.readdirSync(recordings).filter((name) => /\.rec(\.gz)?$/.test(name)).sort();

test("there are records to replay", () => {
  assert.ok(records.length >= 20, `only ${records.length} records`);
});

test("every record replays frame for frame", {concurrency: 2}, async (t) => {
  await Promise.all(records.map((name) => t.test(name, async () => {
    const {status, said} = await runInNode(["--replay", "/host" + path.join(recordings, name)]);
    assert.strictEqual(status, 0, said);
  })));
});

test("a record of another version is refused with the desktop's message", async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "zintrel-other-"));
  const text = zlib.gunzipSync(fs.readFileSync(path.join(recordings, "one-still.rec.gz")));
  fs.writeFileSync(path.join(folder, "other.rec"),
                   String(text).replace(/^zintrel record \d+/, "zintrel record 99"));
  const web = await runInNode(["--replay", "/host" + path.join(folder, "other.rec")]);
  const desktop = await runOnDesktop(["--replay", path.join(folder, "other.rec")], folder);
  fs.rmSync(folder, {recursive: true, force: true});
  assert.strictEqual(web.status, 2, web.said);
  assert.strictEqual(web.said.replace("/host", ""), desktop.said);
});
