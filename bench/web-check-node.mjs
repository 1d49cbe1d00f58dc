// Times the browser module's check under Node: RUNS checks of one file's bytes
// in one process, after the module is ready. Prints one JSON object, the
// seconds of each run in order (the first one included: it pays for the
// optimising compiler). bench/web-check.py runs it beside the native tool.
//
//   node bench/web-check-node.mjs SITE_DIR FILE.csv [RUNS]
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import { performance } from "node:perf_hooks";

const [site, file, runsText = "5"] = process.argv.slice(2);
if (!site || !file) {
  console.error("usage: web-check-node.mjs SITE_DIR FILE.csv [RUNS]");
  process.exit(2);
}
const require = createRequire(import.meta.url);
const createQuorvexModule = require(path.resolve(site, "quorvex.js"));
const { makeQuorvexApi } = require(path.resolve(site, "quorvex-api.js"));
const quorvex = makeQuorvexApi(createQuorvexModule({ wasmBinary: readFileSync(path.resolve(site, "quorvex.wasm")) }));
await quorvex.ready;

const bytes = new Uint8Array(readFileSync(file));
const seconds = [];
for (let run = 0; run < Number(runsText); run++) {
  const start = performance.now();
  const result = await quorvex.check(bytes, { schema: 2, year: "2023" });
  seconds.push((performance.now() - start) / 1000);
  // A failed check would time a different path: the figures would mean nothing.
  if (result.Result !== "S_OK") throw new Error(`the check failed: ${JSON.stringify(result.Errors.slice(0, 3))}`);
}
console.log(JSON.stringify({ seconds }));
