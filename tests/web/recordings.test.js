// Every recorded game of the test bot replays frame for frame in the page's program, run
// headless in Node: the play field computes the same bits in WebAssembly as on the desktop.
"use strict";
const assert = require("node:assert");
const fs = require("node:fs");
const path = require("node:path");
const test = require("node:test");
const {recordings, runInNode} = require("./support.js");

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
