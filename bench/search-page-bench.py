#!/usr/bin/env python3
"""The search page of a large pool: the size of its data per item (plain and gzip-compressed, as
a web server sends it) and, in headless chromium, the time from opening the page to the first
results and the time a query takes to answer.

    bench/search-page-bench.py [--items N] [--dir DIR] [--build BUILD]

The pool is made by relicor-bench (synthetic items, every third with a sidecar) and published by
relicor-cli with --search-page. Not part of the tests: it takes a minute or more.
"""

import argparse
import gzip
import os
import shutil
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

# Types a query and presses Enter; answers with the milliseconds until the results are shown.
QUERY_SCRIPT = """
var done = arguments[arguments.length - 1];
var box = document.getElementById('q');
box.value = arguments[0];
var t0 = performance.now();
document.getElementById('controls').dispatchEvent(new Event('submit', {cancelable: true}));
requestAnimationFrame(function () { done([performance.now() - t0, document.getElementById('count').textContent]); });
"""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--items", type=int, default=100000)
    parser.add_argument("--dir", default="/tmp/relicor-search-bench")
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    os.makedirs(args.dir, exist_ok=True)

    pool = os.path.join(args.dir, "pool-%d" % args.items)
    if not os.path.isdir(pool) or len([n for n in os.listdir(pool) if n.endswith(".ITM")]) < args.items:
        subprocess.run([os.path.join(build, "relicor-bench"), "publish", str(args.items), args.dir], check=True)
    home = os.path.join(args.dir, "home")
    os.makedirs(home, exist_ok=True)
    t0 = time.monotonic()
    subprocess.run([os.path.join(build, "relicor-cli"), "--home", home, "--pool", pool, "--sent",
                    os.path.join(args.dir, "no-sent"), "--no-subdirs", "publish", "--search-page", pool],
                   check=True, stdout=subprocess.DEVNULL)
    publish = time.monotonic() - t0

    data = os.path.join(pool, "itm-search.js")
    with open(data, "rb") as f:
        raw = f.read()
    packed = gzip.compress(raw, 6)
    print("items                %d" % args.items)
    print("publish with search  %.1f s" % publish)
    print("search data          %d bytes, %.1f bytes per item" % (len(raw), len(raw) / args.items))
    print("search data, gzip    %d bytes, %.1f bytes per item" % (len(packed), len(packed) / args.items))

    options = Options()
    options.binary_location = shutil.which("chromium")
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=1280,900"):
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)
    url = "file://" + os.path.abspath(os.path.join(pool, "itm-search.htm"))
    try:
        loads, queries = [], []
        for _ in range(args.runs):
            driver.get("about:blank")
            t0 = time.monotonic()
            driver.get(url)
            WebDriverWait(driver, 30).until(lambda d: "found of" in d.find_element(By.ID, "count").text)
            loads.append(time.monotonic() - t0)
            for query in ("sword", "of the", "resist all"):
                ms, count = driver.execute_async_script(QUERY_SCRIPT, query)
                queries.append(ms / 1000)
        print("open to first results %.3f s (best of %d; median %.3f s)" % (min(loads), args.runs, sorted(loads)[len(loads) // 2]))
        print("query to results      %.3f s (worst of %d; last: %s)" % (max(queries), len(queries), count))
        answered = min(loads) + max(queries)
        print("open and one query    %.3f s %s" % (answered, "(under a second)" if answered < 1 else "(NOT under a second)"))
    finally:
        driver.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
