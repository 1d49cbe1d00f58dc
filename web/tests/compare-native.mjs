// The module under Node against the native tool on the same files: the check's
// --json object must be equal field for field (Errors included), and so must
// the conversion's but for the Timestamp each run stamps.
//
//   node web/tests/compare-native.mjs SITE_DIR NATIVE_TOOL GENERATOR
//
// Inputs: samples/*.csv, generated files (a valid one from bench's
// GenerateCrsCsv, one with thousands of problems from
// bench/many_problems_csv.py) and a few hostile byte strings.
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import assert from "node:assert/strict";

const [site, tool, generator] = process.argv.slice(2);
if (!site || !tool || !generator) {
  console.error("usage: compare-native.mjs SITE_DIR NATIVE_TOOL GENERATOR");
  process.exit(2);
}
const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
const require = createRequire(import.meta.url);
const createQuorvexModule = require(path.resolve(site, "quorvex.js"));
const { makeQuorvexApi } = require(path.resolve(site, "quorvex-api.js"));
// Emscripten 3.1.6's loader cannot fetch under Node 18+: hand it the bytes.
const engine = await createQuorvexModule({ wasmBinary: readFileSync(path.resolve(site, "quorvex.wasm")) });
const quorvex = makeQuorvexApi(engine);
await quorvex.ready;
// The warm-up's generated file must pass, or it leaves most of the check cold.
assert.equal(engine._quorvex_web_warm_up(), 1);

const work = mkdtempSync(path.join(tmpdir(), "quorvex-web-"));
const inputs = readdirSync(path.join(root, "samples"))
  .filter((name) => name.endsWith(".csv"))
  .map((name) => path.join(root, "samples", name));
const made = (name, bytes) => {
  const file = path.join(work, name);
  writeFileSync(file, bytes);
  inputs.push(file);
};
execFileSync(generator, ["2000000", path.join(work, "generated.csv")]);
inputs.push(path.join(work, "generated.csv"));
execFileSync("python3", [path.join(root, "bench/many_problems_csv.py"), "2000", path.join(work, "many-problems.csv")]);
inputs.push(path.join(work, "many-problems.csv"));
// Bytes that are no Shift_JIS, a record cut short, a quoted line break, nothing.
made("hostile.csv", Buffer.concat([readFileSync(inputs[0]), Buffer.from("\r\n3,\"a\r\nb\",\x81\x20\r\n1,2.0", "latin1")]));
made("empty.csv", Buffer.alloc(0));

function native(args, lang = "en") {
  try {
    return JSON.parse(execFileSync(tool, [...args, "--json", "--lang", lang], { maxBuffer: 1 << 30 }).toString());
  } catch (error) {
    if (error.status !== 1) throw error;  // 1: the file failed, the JSON is still there
    return JSON.parse(error.stdout.toString());
  }
}

// The bytes take the path's place as argument 1 ("data", no value shown).
const byBytes = (record) => ({
  ...record,
  Errors: record.Errors.map((e) => (e.item === "csvPath" ? { ...e, item: "data", value: null } : e)),
});
const stamp = /<crs:Timestamp>[^<]*<\/crs:Timestamp>/g;
const unstamped = (record) => ({ ...record, CRSData: record.CRSData.replace(stamp, "<crs:Timestamp/>") });

let compared = 0;
for (const file of inputs) {
  const bytes = new Uint8Array(readFileSync(file));
  for (const schema of [1, 2]) {
    const label = `${path.basename(file)}, schema ${schema}`;
    const checked = await quorvex.check(bytes, { schema, year: "2023" });
    const year = schema === 2 ? ["--year", "2023"] : [];  // the tool takes a year for schema 2.0 only
    assert.deepEqual(checked, byBytes(native(["check", file, "--schema", String(schema), ...year])),
                     `check of ${label}`);
    const converted = await quorvex.convert(bytes, { schema });
    // The module converts as the library does: the tool's validation of its XML stays out.
    const expected = byBytes(native(["convert", file, "--schema", String(schema), "--no-check", "--no-validate"]));
    assert.deepEqual(unstamped(converted), unstamped(expected), `conversion of ${label}`);
    compared += 2;
  }
}
// The conversions compared must include real XML, not only failures.
const sample = new Uint8Array(readFileSync(path.join(root, "samples/crs-sample-2.0.csv")));
const xml = (await quorvex.convert(sample, { schema: 2 })).CRSData;
assert.match(xml, /<crs:Timestamp>\d{4}-/);
// Japanese messages, and the XML read back.
const mistakes = new Uint8Array(readFileSync(path.join(root, "samples/crs-mistakes-2.0.csv")));
assert.deepEqual(await quorvex.check(mistakes, { schema: 2, year: "2023", lang: "ja" }),
                 native(["check", path.join(root, "samples/crs-mistakes-2.0.csv"), "--year", "2023"], "ja"));
writeFileSync(path.join(work, "sample.xml"), xml);
assert.deepEqual(await quorvex.readXml(new TextEncoder().encode(xml)), native(["read-xml", path.join(work, "sample.xml")]));
// Refusals thrown inside the XML parser, and from the engine's handler through
// the parser's frames: a build whose exceptions do not work aborts here.
for (const [name, text] of [["broken.xml", "<a><b></a>"], ["doctype.xml", "<!DOCTYPE a><a/>"]]) {
  writeFileSync(path.join(work, name), text);
  assert.deepEqual(await quorvex.readXml(new TextEncoder().encode(text)), native(["read-xml", path.join(work, name)]), name);
}
// A caller's mistake is a clear error, not a crash.
await assert.rejects(quorvex.check("not bytes", { schema: 2, year: "2023" }), TypeError);

rmSync(work, { recursive: true });
console.log(`module ${quorvex.version} and the native tool agree on ${compared} operations over ${inputs.length} files`);
