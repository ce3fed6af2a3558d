#!/usr/bin/env python3
"""Site data written and read back by the real browsers, Debian's chromium and firefox-esr,
on this machine and without a network: test pages served on 127.0.0.1 under the names of
several sites, each browser started headless on a fresh profile.

  browser-sites.py make [OUT]            write the fixtures into OUT (tests/fixtures/sites)
  browser-sites.py check BROWSER PROFILE report what BROWSER (chromium or firefox) finds
                                         in a copy of PROFILE: each site's cookies, local
                                         storage and IndexedDB, as one line per origin

`make` has each browser visit every site at the top level, where a page writes cookies
(some by the server, HttpOnly, one sign-in spread over several hosts of one site), local and
session storage, an IndexedDB database, the Cache API with a service worker and a file of the
origin private file system; on one site a third-party frame writes partitioned storage. The
stores are then copied into OUT/chromium/Default and OUT/firefox/<profile>, the rest of the
profile left out. `check` visits the same sites and only reads; the cleaner's tests use it to
show that the browser itself finds a kept site's data, and none of a cleaned one's.

Run as root on Debian 12 (the browsers are installed when missing). The names of the sites
resolve to 127.0.0.1 inside the browsers only (Chromium's --host-resolver-rules, Firefox's
network.dns.localDomains); no request leaves the machine.
"""
import http.server
import json
import os
import shutil
import signal
import socketserver
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PORT = 80      # the sites' default port, so their origins carry none
IP_PORT = 8001  # the two sites reached by address and single label, with a port
# Every page a visit goes through, in order: (url, frame url or None).
# shop.test's sign-in spans www, accounts and mail; tracker.test is framed by www.shop.test
# (so its data there is partitioned under shop.test) and visited itself; alice.github.io and
# bob.github.io are two sites (github.io is a suffix of the list's private section);
# news.co.uk sits under a two-label suffix.
HOSTS = ["www.shop.test", "accounts.shop.test", "mail.shop.test", "tracker.test", "alice.github.io",
         "bob.github.io", "www.news.co.uk"]
VISITS = [("http://www.shop.test/", "http://tracker.test/frame"),
          ("http://accounts.shop.test/", None),
          ("http://mail.shop.test/", None),
          ("http://tracker.test/", None),
          ("http://alice.github.io/", None),
          ("http://bob.github.io/", None),
          ("http://www.news.co.uk/", None),
          (f"http://127.0.0.1:{IP_PORT}/", None),
          (f"http://localhost:{IP_PORT}/", None)]
ORIGINS = [v[0].rstrip("/") for v in VISITS]
TIMEOUT = 120  # seconds for a browser to go through every visit

# The page's script: `write` stores the data of its origin, `read` reports what it finds;
# both end by going on to the next visit.
SCRIPT = r"""
const params = new URLSearchParams(location.search);
const FULL = ["www.shop.test", "tracker.test", "127.0.0.1:8001"].includes(location.host);
const mode = params.get("mode"), step = Number(params.get("step") || 0);
function idb(name, body) {
  return new Promise((resolve, reject) => {
    const open = indexedDB.open(name, 1);
    open.onupgradeneeded = () => open.result.createObjectStore("kv", {keyPath: "id"});
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const tx = open.result.transaction("kv", body ? "readwrite" : "readonly");
      const req = body ? tx.objectStore("kv").put(body) : tx.objectStore("kv").get(1);
      tx.oncomplete = () => { open.result.close(); resolve(req.result); };
      tx.onerror = () => reject(tx.error);
    };
  });
}
async function attempt(done, name, work) {
  try { await work(); done.push(name); } catch (e) { done.push(name + ":" + e.name); }
}
async function write() {
  const done = [], host = location.host;
  await attempt(done, "cookie", async () => {
    document.cookie = "pref=" + host.replace(/[^a-z0-9]/g, "") + "; max-age=31536000; path=/";
  });
  await attempt(done, "localStorage", async () => {
    localStorage.setItem("visitor", host);
    localStorage.setItem("greeting", "Gr\u00fc\u00dfe \u540d\u524d");  // Latin-1 and beyond
  });
  await attempt(done, "sessionStorage", async () => sessionStorage.setItem("tab", host));
  await attempt(done, "indexedDB", () => idb("site-db", {id: 1, host}));
  if (host === "www.news.co.uk" && /Chrome\//.test(navigator.userAgent)) {
    // More than a LevelDB write buffer of Chromium's holds: at its next start the browser
    // writes the store's log into a table, compressed as it compresses its tables.
    await attempt(done, "table", async () => localStorage.setItem("filler", "news of the day ".repeat(130000)));
  }
  // The stores of the Cache API, service workers and the origin private file system on a
  // few origins only: Firefox gives each origin's file system a database of half a megabyte.
  if (!FULL) return {wrote: done};
  await attempt(done, "cache", async () => {
    const cache = await caches.open("v1");
    await cache.put("/cached", new Response("cached for " + host));
  });
  await attempt(done, "serviceWorker", async () => {
    await navigator.serviceWorker.register("/sw.js");
    await navigator.serviceWorker.ready;
  });
  await attempt(done, "fileSystem", async () => {
    const root = await navigator.storage.getDirectory();
    const file = await root.getFileHandle("note.txt", {create: true});
    const out = await file.createWritable();
    await out.write("note of " + host);
    await out.close();
  });
  if (host === "www.shop.test") {
    await attempt(done, "bucket", async () => {
      if (!navigator.storageBuckets) throw new Error("no storage buckets");
      const bucket = await navigator.storageBuckets.open("bucket1");
      await new Promise((resolve, reject) => {
        const open = bucket.indexedDB.open("bucket-db", 1);
        open.onupgradeneeded = () => open.result.createObjectStore("kv");
        open.onsuccess = () => { open.result.close(); resolve(); };
        open.onerror = () => reject(open.error);
      });
    });
  }
  return {wrote: done};
}
async function read() {
  const found = {cookies: document.cookie, localStorage: {}, indexedDB: null};
  for (let i = 0; i < localStorage.length; i++) {
    const k = localStorage.key(i);
    found.localStorage[k] = localStorage.getItem(k);
  }
  // A database that is not there is not opened: opening would create it.
  const names = (await indexedDB.databases()).map(d => d.name);
  if (names.includes("site-db")) {
    const row = await idb("site-db", null);
    found.indexedDB = row ? row.host : "";
  }
  return found;
}
async function visit(frameOnly) {
  let result;
  try { result = mode === "write" ? await write() : await read(); } catch (e) { result = {error: String(e)}; }
  result.origin = location.origin;
  result.frame = frameOnly;
  if (!frameOnly && FRAME) {
    result.framed = await new Promise(resolve => {
      addEventListener("message", e => resolve(e.data), {once: true});
      const f = document.createElement("iframe");
      f.src = FRAME + "?mode=" + mode;
      document.body.appendChild(f);
      setTimeout(() => resolve({error: "the frame did not answer"}), 20000);
    });
  }
  if (frameOnly) { parent.postMessage(result, "*"); return; }
  await fetch("/report", {method: "POST", body: JSON.stringify(result)});
  location.href = NEXT;
}
"""

SW = "self.addEventListener('fetch', () => {});\n"


class State:
    def __init__(self, mode):
        self.mode = mode
        self.reports = []
        self.cookies = {}  # origin -> the Cookie header of its visit
        self.finished = threading.Event()


def make_handler(state):
    class Handler(http.server.BaseHTTPRequestHandler):
        def log_message(self, form, *args):
            if os.environ.get("ZARN_SITES_LOG"):  # every request, to follow a browser's visits
                print(f"    {self.headers.get('Host')} {form % args}", file=sys.stderr)

        def origin(self):
            host = self.headers.get("Host", "")
            return "http://" + host

        def send(self, body, kind="text/html", headers=()):
            data = body.encode("utf-8")
            self.send_response(200)
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(data)))
            self.send_header("Cache-Control", "no-store")
            for name, value in headers:
                self.send_header(name, value)
            self.end_headers()
            self.wfile.write(data)

        def do_GET(self):
            url = urllib.parse.urlsplit(self.path)
            query = urllib.parse.parse_qs(url.query)
            origin = self.origin()
            host = origin[len("http://"):].split(":")[0]
            if url.path == "/sw.js":
                return self.send(SW, "text/javascript")
            if url.path == "/done":
                state.finished.set()
                # Firefox closes its last window, and so quits (dom.allow_scripts_to_close_windows).
                return self.send("<!doctype html><p>done</p><script>setTimeout(() => window.close(), 500);</script>")
            step = int(query.get("step", ["0"])[0])
            frame_only = url.path == "/frame"
            frame = None if frame_only else VISITS[step][1]
            nxt = (VISITS[step + 1][0] + f"?mode={state.mode}&step={step + 1}"
                   if step + 1 < len(VISITS) else f"{ORIGINS[0]}/done")
            headers = []
            if state.mode == "write" and not frame_only:
                # The server's own cookies, as a site's sign-in sets them: HttpOnly, and on
                # shop.test for the whole site from its accounts host.
                headers.append(("Set-Cookie", f"sid={host}; Max-Age=31536000; Path=/; HttpOnly"))
                if host == "accounts.shop.test":
                    headers.append(("Set-Cookie", "session=signed-in; Domain=shop.test; Max-Age=31536000; Path=/; HttpOnly"))
                    headers.append(("Set-Cookie", "csrf=token; Domain=shop.test; Max-Age=31536000; Path=/"))
            elif not frame_only:
                state.cookies[origin] = self.headers.get("Cookie", "")
            page = (f"<!doctype html><meta charset=utf-8><title>{host}</title><body><p>{host}</p>"
                    f"<script>const FRAME = {json.dumps(frame)}; const NEXT = {json.dumps(nxt)};\n{SCRIPT}\n"
                    f"visit({'true' if frame_only else 'false'});</script>")
            return self.send(page, headers=headers)

        def do_POST(self):
            length = int(self.headers.get("Content-Length", "0"))
            body = self.rfile.read(length)
            if self.path == "/report":
                try:
                    state.reports.append(json.loads(body))
                except ValueError:
                    state.reports.append({"error": "unreadable report", "origin": self.origin()})
            self.send_response(204)
            self.end_headers()

    return Handler


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def serve(state):
    servers = [Server(("127.0.0.1", port), make_handler(state)) for port in (PORT, IP_PORT)]
    for s in servers:
        threading.Thread(target=s.serve_forever, daemon=True).start()
    return servers


def ensure_installed():
    need = [pkg for pkg, exe in (("chromium", "/usr/bin/chromium"), ("firefox-esr", "/usr/bin/firefox-esr"))
            if not os.path.exists(exe)]
    if need:
        subprocess.run(["bash", "-c", f'. "{REPO}/scripts/apt.sh" && apt_install "$@"', "_", *need], check=True)


def version(exe):
    out = subprocess.run([exe, "--version"], capture_output=True, text=True).stdout
    return out.strip().splitlines()[-1] if out.strip() else "?"


def chromium_command(profile, url, extra=()):
    secure = ",".join(ORIGINS)
    return ["/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--password-store=basic", "--use-mock-keychain", f"--user-data-dir={profile}",
            "--host-resolver-rules=MAP * 127.0.0.1",
            f"--unsafely-treat-insecure-origin-as-secure={secure}", *extra, url]


FIREFOX_PREFS = {
    "network.dns.localDomains": ",".join(HOSTS),
    "dom.securecontext.allowlist": ",".join(HOSTS),
    "dom.serviceWorkers.testing.enabled": True,
    "dom.allow_scripts_to_close_windows": True,
    "browser.shell.checkDefaultBrowser": False,
    "browser.startup.homepage_override.mstone": "ignore",
    "browser.aboutwelcome.enabled": False,
    "datareporting.policy.dataSubmissionEnabled": False,
    "toolkit.telemetry.reportingpolicy.firstRun": False,
    "app.update.enabled": False,
    "extensions.update.enabled": False,
    "browser.safebrowsing.malware.enabled": False,
    "browser.safebrowsing.phishing.enabled": False,
    "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False,
    # Each start opens the one page it is given: no tabs of an earlier session come back.
    "browser.startup.page": 0,
    # Nor any page loaded behind the user's back: the new tab page takes thumbnails of the
    # sites most visited by loading them in a browser of its own.
    "browser.pagethumbnails.capturing_disabled": True,
    "browser.newtabpage.enabled": False,
    "browser.newtabpage.activity-stream.feeds.topsites": False,
    "browser.startup.homepage": "about:blank",
    "browser.sessionstore.resume_from_crash": False,
    "browser.sessionstore.max_resumed_crashes": 0,
    "network.proxy.type": 0,
}


def firefox_command(profile, url):
    return ["/usr/bin/firefox-esr", "--headless", "--no-remote", "--profile", profile, url]


def firefox_prefs(profile):
    with open(os.path.join(profile, "user.js"), "w") as f:
        for name, value in FIREFOX_PREFS.items():
            f.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")


def run_browser(command, state, env=None):
    """Starts the browser, waits for the last visit, and has the browser close as a user
    closing its window would, so that it writes every store. The seconds it took.
    Chromium is closed through its DevTools pipe (Browser.close); Firefox closes its last
    window itself, from the last page."""
    start = time.monotonic()
    chromium = os.path.basename(command[0]) == "chromium"
    pipe_in = pipe_out = None
    fds = ()
    if chromium:
        # --remote-debugging-pipe: the browser reads commands on fd 3 and answers on fd 4.
        commands_r, pipe_in = os.pipe()
        pipe_out, answers_w = os.pipe()
        fds = (commands_r, answers_w)
        command = ["sh", "-c", f'exec "$@" 3<&{commands_r} 4>&{answers_w}', "sh", *command,
                   "--remote-debugging-pipe"]
    proc = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env,
                            start_new_session=True, pass_fds=fds)
    for fd in fds:
        os.close(fd)
    ok = state.finished.wait(TIMEOUT)
    if chromium:
        os.write(pipe_in, b'{"id": 1, "method": "Browser.close"}\0')
    try:
        proc.wait(60)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        raise SystemExit(f"{command[-1]} did not close")
    finally:
        for fd in (pipe_in, pipe_out):
            if fd is not None:
                os.close(fd)
    if not ok:
        raise SystemExit(f"{command[-1]} did not finish the visits in {TIMEOUT} s: {state.reports}")
    return time.monotonic() - start


def first_url(mode):
    return VISITS[0][0] + f"?mode={mode}&step=0"


CHROMIUM_STORES = ["Cookies", "Cookies-journal", "Network", "Local Storage", "Session Storage", "IndexedDB",
                   "Service Worker", "WebStorage", "File System", "LocalStorage", "SessionStorage"]
FIREFOX_STORES = ["cookies.sqlite", "webappsstore.sqlite", "storage.sqlite", "storage", "serviceworker.txt"]
# Left out: the browser's own storage (storage/permanent/chrome, 5 MB), which is no site's.
LEFT_OUT = {"permanent"}


def copy_stores(profile, names, out):
    os.makedirs(out, exist_ok=True)
    for name in names:
        src = os.path.join(profile, name)
        if os.path.isdir(src):
            shutil.copytree(src, os.path.join(out, name), symlinks=True,
                            ignore=lambda folder, names: LEFT_OUT & set(names) if folder == src else ())
        elif os.path.exists(src):
            shutil.copy2(src, os.path.join(out, name))


def make(out):
    ensure_installed()
    out = os.path.abspath(out)
    work = tempfile.mkdtemp(prefix="zarn-sites-")
    try:
        shutil.rmtree(out, ignore_errors=True)
        os.makedirs(out)
        # Chromium: the stores of its Default profile, after a session that wrote them and
        # one that read them back (whose start writes a store's log into a table, as any
        # later start of the browser does).
        user_data = os.path.join(work, "chromium")
        for mode in ("write", "read"):
            passes(mode, lambda state: run_browser(chromium_command(user_data, first_url(mode)), state))
            if mode == "write":
                # The next start deletes the tabs' session storage of this session: kept as
                # the first session left it.
                copy_stores(os.path.join(user_data, "Default"), ["Session Storage"],
                            os.path.join(out, "chromium", "first session"))
        copy_stores(os.path.join(user_data, "Default"), CHROMIUM_STORES, os.path.join(out, "chromium", "Default"))
        # Chromium's other backend of Local and Session Storage, SQLite, which a field trial
        # turns on for profiles that have no LevelDB store yet.
        user_data = os.path.join(work, "chromium-sqlite")
        passes("write", lambda state: run_browser(chromium_command(user_data, first_url("write"),
                                                                   ["--enable-features=DomStorageSqlite"]), state))
        copy_stores(os.path.join(user_data, "Default"), ["LocalStorage", "SessionStorage"],
                    os.path.join(out, "chromium-sqlite", "Default"))

        # Firefox: two profiles made by Firefox itself, so profiles.ini is its own; the data
        # goes into the first.
        home = os.path.join(work, "home")
        env = dict(os.environ, HOME=home, MOZ_HEADLESS="1")
        for name in ("main", "second"):
            subprocess.run(["/usr/bin/firefox-esr", "--headless", "-CreateProfile", name], env=env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Where this Firefox keeps profiles.ini: ~/.mozilla/firefox, or ~/.config/mozilla/firefox.
        root = next(d for d, _, files in os.walk(home) if "profiles.ini" in files)
        main, second = (next(d for d in os.listdir(root) if d.endswith(suffix)) for suffix in (".main", ".second"))
        firefox_prefs(os.path.join(root, main))
        for mode in ("write", "read"):
            passes(mode, lambda state: run_browser(firefox_command(os.path.join(root, main), first_url(mode)),
                                                   state, env))
        copy_stores(os.path.join(root, main), FIREFOX_STORES, os.path.join(out, "firefox", main))
        os.makedirs(os.path.join(out, "firefox", second))
        for ini in ("profiles.ini", "installs.ini"):
            if os.path.exists(os.path.join(root, ini)):
                shutil.copy2(os.path.join(root, ini), os.path.join(out, "firefox", ini))
        with open(os.path.join(out, "written-by.txt"), "w") as f:
            f.write(f"{version('/usr/bin/chromium')}\n{version('/usr/bin/firefox-esr')}\n"
                    "by scripts/browser-sites.py make\n")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def passes(mode, run):
    """Serves the pages while `run` drives a browser through them in `mode`; prints what the
    pages wrote or found."""
    state = State(mode)
    servers = serve(state)
    try:
        seconds = run(state)
    finally:
        for s in servers:
            s.shutdown()
    print(f"{mode} pass: {seconds:.0f} s")
    if mode == "write":
        for r in state.reports:
            framed = r.get("framed")
            print(f"  {r.get('origin')} wrote {r.get('wrote', r.get('error'))}"
                  + (f"; framed {framed.get('origin')} wrote {framed.get('wrote', framed.get('error'))}"
                     if framed else ""))
    else:
        print_found(state)
    return state


def print_found(state):
    """One line per origin a read pass visited: the names of the cookies it was sent, the keys
    of its local storage, the row of its IndexedDB database."""
    for r in state.reports:
        for found in (r, r.get("framed")):
            if not found:
                continue
            origin = found.get("origin")
            where = origin if found is r else f"{origin} in {r.get('origin')}"
            cookies = state.cookies.get(origin, "") if found is r else found.get("cookies", "")
            names = sorted(c.split("=", 1)[0].strip() for c in cookies.split(";") if c.strip())
            print(f"  {where}: cookies={','.join(names) or '-'} "
                  f"localStorage={','.join(sorted(found.get('localStorage') or {})) or '-'} "
                  f"indexedDB={found.get('indexedDB') or '-'}"
                  + (f" error={found['error']}" if "error" in found else ""))


def check(browser, profile):
    ensure_installed()
    start = time.monotonic()
    work = tempfile.mkdtemp(prefix="zarn-check-")
    try:
        if browser == "chromium":
            # PROFILE is a profile folder (Default); Chromium is given a User Data folder around it.
            shutil.copytree(profile, os.path.join(work, "Default"), symlinks=True)
            passes("read", lambda state: run_browser(chromium_command(work, first_url("read")), state))
        elif browser == "firefox":
            copy = os.path.join(work, "profile")
            shutil.copytree(profile, copy, symlinks=True)
            firefox_prefs(copy)
            env = dict(os.environ, HOME=os.path.join(work, "home"), MOZ_HEADLESS="1")
            passes("read", lambda state: run_browser(firefox_command(copy, first_url("read")), state, env))
        else:
            raise SystemExit(f"unknown browser {browser!r}: chromium or firefox")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"{browser}: checked in {time.monotonic() - start:.0f} s", file=sys.stderr)


def main(argv):
    if len(argv) >= 1 and argv[0] == "make":
        make(argv[1] if len(argv) > 1 else os.path.join(REPO, "tests", "fixtures", "sites"))
    elif len(argv) == 3 and argv[0] == "check":
        check(argv[1], argv[2])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
