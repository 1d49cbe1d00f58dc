#!/usr/bin/python3
"""The page in headless Chromium through the DevTools protocol.

    /usr/bin/python3 web/tests/page-in-chromium.py SITE_DIR NATIVE_TOOL

Serves SITE_DIR on a local port, gives samples/crs-mistakes-2.0.csv to the file
input and expects every problem the native tool reports for it in the page's
table, with the same cells; converts the valid sample to a download; reads the
tool's XML back; and checks that every request went to the page's own origin and that
the Content-Security-Policy refuses any other.
"""
import base64
import functools
import http.server
import json
import os
import pathlib
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

import websocket  # python3-websocket

ROOT = pathlib.Path(__file__).resolve().parents[2]
MISTAKES = ROOT / "samples" / "crs-mistakes-2.0.csv"
SAMPLE = ROOT / "samples" / "crs-sample-2.0.csv"


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                      ".js": "text/javascript"}

    def log_message(self, *args):
        pass


class DevTools:
    def __init__(self, url):
        self.socket = websocket.create_connection(url, timeout=120)
        self.next_id = 0
        self.events = []

    def send(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message["result"]
            self.events.append(message)

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, awaitPromise=True, returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, expression, seconds=120):
        # Polls the page; a slow machine only waits longer, it never passes sooner.
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.2)
        raise AssertionError(f"the page never showed: {expression}")

    def give_file(self, selector, path):
        document = self.send("DOM.getDocument")["root"]["nodeId"]
        node = self.send("DOM.querySelector", nodeId=document, selector=selector)["nodeId"]
        self.send("DOM.setFileInputFiles", nodeId=node, files=[str(path)])


def start_chromium(profile):
    browser = subprocess.Popen(
        ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         f"--user-data-dir={profile}", "--remote-debugging-port=0", "about:blank"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    port_file = pathlib.Path(profile) / "DevToolsActivePort"
    for _ in range(600):
        if port_file.exists() and port_file.read_text().strip():
            port = port_file.read_text().split()[0]
            targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list"))
            page = next(t for t in targets if t["type"] == "page")
            return browser, page["webSocketDebuggerUrl"]
        time.sleep(0.1)
    browser.kill()
    raise RuntimeError("chromium did not start")


def native_errors(tool, path):
    run = subprocess.run([tool, "check", str(path), "--year", "2023", "--json", "--lang", "en"],
                         capture_output=True, check=False)
    return json.loads(run.stdout)["Errors"]


def main():
    site, tool = sys.argv[1], sys.argv[2]
    # Optional third argument: where to save a picture of the page showing the mistakes sample.
    screenshot = sys.argv[3] if len(sys.argv) > 3 else None
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    origin = f"http://127.0.0.1:{server.server_address[1]}"
    with tempfile.TemporaryDirectory() as work:
        browser, url = start_chromium(os.path.join(work, "profile"))
        try:
            run(DevTools(url), origin, tool, work, screenshot)
        finally:
            browser.kill()
            browser.wait()
            server.shutdown()
    print(f"page in chromium: problems shown, conversion downloaded, XML read back, only {origin} reached")


def run(tools, origin, tool, work, screenshot=None):
    for domain in ("Page", "Network", "Runtime", "DOM"):
        tools.send(f"{domain}.enable")
    tools.send("Page.navigate", url=origin + "/index.html")
    version = tools.wait_for("document.readyState === 'complete' && window.quorvex && "
                             "quorvex.ready.then(() => quorvex.version)")
    assert tools.evaluate("document.body.innerText.includes('stay on this computer')")

    # The mistakes sample through the file input: the page checks it at once.
    tools.evaluate("document.getElementById('year').value = '2023'")
    tools.give_file("#csv-files", MISTAKES)
    rows = tools.wait_for("""(() => {
        const rows = document.querySelectorAll('#results table.problems tr');
        return rows.length > 1 && Array.from(rows).slice(1).map(r => Array.from(r.cells).map(c => c.textContent));
    })()""")
    expected = [[str(e["line"]), str(e["fileLine"] or ""), str(e["column"]), e["item"],
                 "" if e["value"] is None else e["value"], e["code"], e["message"]]
                for e in native_errors(tool, MISTAKES)]
    assert expected, "the mistakes sample has no problems"
    assert rows == expected, f"page rows differ from the tool's:\n{rows[:3]}\n{expected[:3]}"
    if screenshot:
        tools.send("Emulation.setDeviceMetricsOverride", width=1100, height=760, deviceScaleFactor=1, mobile=False)
        picture = tools.send("Page.captureScreenshot", format="png")
        pathlib.Path(screenshot).write_bytes(base64.b64decode(picture["data"]))
        tools.send("Emulation.clearDeviceMetricsOverride")

    # The valid sample passes, converts, and offers its XML for download.
    tools.give_file("#csv-files", SAMPLE)
    tools.wait_for("document.querySelector('#results .pass') !== null")
    tools.evaluate("document.querySelector('#results button').click()")
    href = tools.wait_for("document.querySelector('#results a[download]')?.href")
    assert href.startswith("blob:" + origin), href
    assert tools.evaluate("document.querySelector('#results a[download]').download") == "crs-sample-2.0.xml"

    # The tool's XML read back: the page shows its text.
    xml_path = pathlib.Path(work) / "sample.xml"
    subprocess.run([tool, "convert", str(SAMPLE), "--year", "2023", "-o", str(xml_path)], check=True,
                   stdout=subprocess.DEVNULL)
    tools.give_file("#xml-file", xml_path)
    shown = tools.wait_for("document.querySelector('#xml-result .pass') && "
                           "document.querySelector('#xml-result pre').textContent")
    assert shown == xml_path.read_text(encoding="ascii"), shown[:200]

    # Every request so far went to the page's own origin.
    requests = [e["params"]["request"]["url"] for e in tools.events if e.get("method") == "Network.requestWillBeSent"]
    assert any(u.endswith("/quorvex.wasm") for u in requests), requests
    foreign = [u for u in requests if not (u.startswith(origin + "/") or u.startswith("blob:" + origin + "/"))]
    assert not foreign, f"requests to other origins: {foreign}"
    # And the page's policy refuses any other origin.
    refused = tools.evaluate("""new Promise(resolve => {
        document.addEventListener('securitypolicyviolation', e => resolve(e.effectiveDirective), { once: true });
        fetch('http://192.0.2.1/').catch(() => {});
    })""")
    assert refused == "connect-src", refused
    assert version


if __name__ == "__main__":
    main()
