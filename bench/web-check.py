#!/usr/bin/python3
"""How long a check of a 19.9 MB file takes in the page against the native tool.

    /usr/bin/python3 bench/web-check.py SITE_DIR NATIVE_TOOL GENERATOR [RUNS]

Generates one valid file with GenerateCrsCsv, then times on its bytes:
  native    `quorvex check FILE --year 2023`, wall time of the whole process;
  chromium  window.quorvex.check in headless Chromium, performance.now() around
            the call, the page loaded and the bytes already in it;
  node      the same module under Node (bench/web-check-node.mjs).
Each RUNS times (default 5); prints the medians (of all runs), the first call
apart (the browser may still be compiling the code that runs most), the ratios
to the native median, when the page was ready (loaded, compiled and warmed up)
and the load average. It prints figures and never fails on them.
"""
import importlib.util
import json
import os
import pathlib
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import functools
import http.server

ROOT = pathlib.Path(__file__).resolve().parents[1]
SIZE = 19922944  # the largest file the operations take

module_spec = importlib.util.spec_from_file_location("page_in_chromium", ROOT / "web/tests/page-in-chromium.py")
page = importlib.util.module_from_spec(module_spec)
module_spec.loader.exec_module(page)


def native_seconds(tool, csv, runs):
    seconds = []
    for _ in range(runs):
        start = time.perf_counter()
        run = subprocess.run([tool, "check", str(csv), "--year", "2023"], stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, check=False)
        seconds.append(time.perf_counter() - start)
        if run.returncode != 0:
            raise RuntimeError(f"the native check failed: {run.stderr.decode()}")
    return seconds


def node_seconds(site, csv, runs):
    out = subprocess.run(["node", str(ROOT / "bench/web-check-node.mjs"), site, str(csv), str(runs)],
                         capture_output=True, check=True)
    return json.loads(out.stdout)["seconds"]


def chromium_seconds(site, csv, runs, work):
    # The page's files and the input side by side, served from one origin.
    served = pathlib.Path(work) / "served"
    served.mkdir()
    for name in os.listdir(site):
        (served / name).symlink_to(pathlib.Path(site).resolve() / name)
    (served / "bench-input.csv").symlink_to(csv)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(page.Handler, directory=served))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    origin = f"http://127.0.0.1:{server.server_address[1]}"
    browser, url = page.start_chromium(os.path.join(work, "profile"))
    try:
        tools = page.DevTools(url)
        tools.send("Page.enable")
        tools.send("Runtime.enable")
        # When the engine is ready, counted from the navigation's start.
        tools.send("Page.addScriptToEvaluateOnNewDocument", source="""addEventListener('DOMContentLoaded',
            () => quorvex.ready.then(() => { window.benchReadyAt = performance.now() / 1000; }))""")
        tools.send("Page.navigate", url=origin + "/index.html")
        ready = tools.wait_for("document.readyState === 'complete' && window.benchReadyAt")
        size = tools.evaluate("fetch('bench-input.csv').then(r => r.arrayBuffer())"
                              ".then(b => { window.benchBytes = new Uint8Array(b); return b.byteLength; })")
        assert size == csv.stat().st_size, size
        seconds = []
        for _ in range(runs):
            took, verdict = tools.evaluate("""(async () => {
                const start = performance.now();
                const result = await quorvex.check(window.benchBytes, { schema: 2, year: '2023' });
                return [(performance.now() - start) / 1000, result.Result];
            })()""")
            if verdict != "S_OK":
                raise RuntimeError(f"the check in the page failed: {verdict}")
            seconds.append(took)
        return ready, seconds
    finally:
        browser.kill()
        browser.wait()
        server.shutdown()


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    site, tool, generator = sys.argv[1:4]
    runs = int(sys.argv[4]) if len(sys.argv) > 4 else 5
    print("load average before:", " ".join(f"{x:.2f}" for x in os.getloadavg()), f"({os.cpu_count()} CPUs)")
    with tempfile.TemporaryDirectory() as work:
        csv = pathlib.Path(work) / "check.csv"
        subprocess.run([generator, str(SIZE), str(csv)], check=True)
        wasm = pathlib.Path(site) / "quorvex.wasm"
        gzipped = len(subprocess.run(["gzip", "-9c", str(wasm)], capture_output=True, check=True).stdout)
        print(f"input {csv.stat().st_size} bytes; quorvex.wasm {wasm.stat().st_size} bytes, {gzipped} gzip -9")

        native = native_seconds(tool, csv, runs)
        ready, chromium = chromium_seconds(site, csv, runs, work)
        node = node_seconds(site, csv, runs)

    def line(name, seconds):
        return (f"{name:9} median {statistics.median(seconds):.3f} s  "
                f"(runs: {' '.join(f'{s:.3f}' for s in seconds)})")

    base = statistics.median(native)
    print(line("native", native))
    for name, seconds in (("chromium", chromium), ("node", node)):
        print(line(name, seconds) + f"  ratio {statistics.median(seconds) / base:.2f}"
              f"; first call {seconds[0]:.3f} s, ratio {seconds[0] / base:.2f}")
        if name == "chromium":
            print(f"{'':9} the page was ready {ready:.3f} s after its navigation began")
    print("load average after:", " ".join(f"{x:.2f}" for x in os.getloadavg()))


if __name__ == "__main__":
    main()
