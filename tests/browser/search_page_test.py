#!/usr/bin/env python3
"""The search page in headless chromium: loaded from file://, searched, filtered, sorted, its
state kept in the address, its result links followed, at a desktop width and at 390 px.

Exit 0: passed; 1: failed; 77: skipped (no browser), unless RELICOR_BROWSER_TESTS=required, when
a missing browser fails the test.
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import time
import traceback
import unicodedata
import urllib.parse

SKIP = 77
REQUIRED = os.environ.get("RELICOR_BROWSER_TESTS", "") == "required"


def skip_or_fail(reason):
    if REQUIRED:
        print("FAIL: browser tests are required (RELICOR_BROWSER_TESTS=required): " + reason)
        sys.exit(1)
    print("SKIP: " + reason)
    sys.exit(SKIP)


try:
    from selenium import webdriver
    from selenium.webdriver.chrome.options import Options
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import Select, WebDriverWait
except ImportError:
    skip_or_fail("python3-selenium is not installed")


def find_program(*names):
    for name in names:
        path = shutil.which(name)
        if path:
            return path
    return None


def start_browser(width, height):
    browser = find_program("chromium", "chromium-browser")
    driver = find_program("chromedriver")
    if not browser or not driver:
        skip_or_fail("chromium and chromium-driver are not installed")
    options = Options()
    options.binary_location = browser
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=%d,%d" % (width, height), "--lang=en-US"):
        options.add_argument(arg)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    session = webdriver.Chrome(service=Service(driver), options=options)
    if width < 500:
        # A browser window is never this narrow: the page is shown as a phone shows it.
        session.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": True})
    return session


def load_data(path):
    """The data file as Python values: the JSON inside its JSON.parse('...')."""
    with open(path, encoding="ascii") as f:
        text = f.read()
    literal = re.search(r"JSON\.parse\('(.*)'\);", text).group(1)
    return json.loads(literal.replace("\\\\", "\\"))


def fold(text):
    text = unicodedata.normalize("NFD", text)
    text = "".join(c for c in text if not ("\u0300" <= c <= "\u036f"))
    return text.replace("\u00df", "ss").lower()


class Data:
    """The items as the page should group and count them, worked out independently."""

    def __init__(self, data):
        self.data = data
        self.groups = {}
        for entry in data["entries"]:
            name, cls, quality, price, page, lines, verdict, findings, newest, copies = entry
            key = (name, cls, quality, price, page, tuple(lines), verdict)
            check(key not in self.groups, "one entry for each kind of item")
            self.groups[key] = {"rows": [copies[i:i + 6] for i in range(0, len(copies), 6)],
                                "name": data["names"][name], "cls": cls, "quality": quality, "price": price,
                                "lines": lines}

    def matching(self, query="", cls=None, findings=False):
        words = fold(query).split()
        result = []
        for group in self.groups.values():
            if cls is not None and group["cls"] != cls:
                continue
            texts = [fold(group["name"])] + [fold(self.data["lines"][i]) for i in group["lines"]]
            if findings and not any(self.data["lines"][i].startswith("***") for i in group["lines"]):
                continue
            if all(any(w in t for t in texts) for w in words):
                result.append(group)
        return result


class Page:
    def __init__(self, driver, url):
        self.driver = driver
        self.url = url

    def open(self, fragment=""):
        self.driver.get(self.url + fragment)
        self.wait_for_results()

    def wait_for_results(self):
        WebDriverWait(self.driver, 10).until(
            lambda d: "found of" in d.find_element(By.ID, "count").text)

    def count_text(self):
        return self.driver.find_element(By.ID, "count").text

    def results(self):
        return self.driver.find_elements(By.CSS_SELECTOR, "#results > li")

    def names(self):
        return [li.find_element(By.CSS_SELECTOR, "h2").text for li in self.results()]

    def type_query(self, text):
        box = self.driver.find_element(By.ID, "q")
        # Emptied as a user does it, so that the page hears of it.
        box.send_keys(Keys.CONTROL, "a")
        box.send_keys(Keys.DELETE)
        if text:
            box.send_keys(text)
        # The search runs once typing pauses.
        expected = urllib.parse.quote(text, safe="")
        WebDriverWait(self.driver, 10).until(
            lambda d: (self.hash_state().get("q", "") == text) if text else "q=" not in d.current_url)
        self.wait_for_results()
        return expected

    def hash_state(self):
        fragment = urllib.parse.urlsplit(self.driver.current_url).fragment
        return dict(urllib.parse.parse_qsl(fragment))


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def expect_count(page, items, entries, total):
    text = page.count_text()
    expected = "%d item%s" % (items, "" if items == 1 else "s")
    if entries != items:
        expected += " in %d entr%s" % (entries, "y" if entries == 1 else "ies")
    expected += " found of %d" % total
    check(text == expected, "count: %r, expected %r" % (text, expected))


def desktop_tests(driver, url, data):
    page = Page(driver, url)
    model = Data(data)
    total = data["count"]
    check(total == sum(len(g["rows"]) for g in model.groups.values()), "the count is the number of copies")
    page.open()

    # No error in the console (a blocked script or style would be one).
    severe = [e for e in driver.get_log("browser") if e.get("level") == "SEVERE"]
    check(not severe, "console errors: %r" % severe)

    # Every item is there; copies that cannot be told apart are one entry.
    expect_count(page, total, len(model.groups), total)
    check(len(page.results()) == min(50, len(model.groups)), "the first 50 entries are shown")
    check(any(data["classes"][str(g["cls"])] == "Book" for g in model.groups.values()),
          "the books (and potions and scrolls) are listed too")

    # Words in any order, without regard to case and accents.
    for query in ("zurich", "BLADE z\u00fcr", "blade ZURICH"):
        page.type_query(query)
        expect_count(page, 1, 1, total)
        check(page.names() == ["Z\u00fcrich Blade"], "names for %r: %r" % (query, page.names()))
    check(page.hash_state().get("q") == "blade ZURICH", "the query is in the address: %r" % driver.current_url)

    # Three copies of one item are one entry with its count.
    page.type_query("bent falchion")
    expect_count(page, 3, 1, total)
    entry = page.results()[0]
    check(entry.find_element(By.CSS_SELECTOR, ".copies-count").text.strip() == "\u00d73", "the copies are counted")
    check(len(entry.find_elements(By.CSS_SELECTOR, ".copies > li")) == 3, "each copy has its line")
    mails = sorted(a.get_attribute("href") for a in entry.find_elements(By.CSS_SELECTOR, "a.request"))
    check(mails == ["mailto:keeper@example.org?subject=Itempool-falchions/F%d.ITM" % i for i in (1, 2, 3)],
          "each copy's request link: %r" % mails)
    with open(os.path.join(os.path.dirname(url[len("file://"):]), "itm1Sword.htm"), encoding="cp1252") as f:
        sword_page = f.read()
    check('HREF="%s"' % mails[0] in sword_page, "the class page makes the same link")

    # Markup in a name or a sender is shown as text.
    page.type_query("bold axe")
    entry = page.results()[0]
    check(entry.find_element(By.CSS_SELECTOR, "h2 a").text == "<b>Bold</b> Axe", "the name is text")
    check(not entry.find_elements(By.CSS_SELECTOR, "b, img"), "no markup from an item")
    check("<img src=x>" in entry.text, "the sender is text")

    # A filter: the sword class; then only items with findings.
    page.type_query("")
    Select(driver.find_element(By.ID, "class")).select_by_visible_text("Sword")
    page.wait_for_results()
    swords = model.matching(cls=1)
    expect_count(page, sum(len(g["rows"]) for g in swords), len(swords), total)
    check(page.hash_state().get("class") == "1", "the class is in the address")
    driver.find_element(By.ID, "findings").click()
    page.wait_for_results()
    flagged = model.matching(cls=1, findings=True)
    expect_count(page, sum(len(g["rows"]) for g in flagged), len(flagged), total)
    check(0 < len(flagged) < len(swords), "some swords have findings, some have none")
    driver.find_element(By.ID, "findings").click()

    # Sort by price, highest first: the prices of the entries never rise.
    Select(driver.find_element(By.ID, "sort")).select_by_value("price")
    page.wait_for_results()
    prices = [int(re.search(r"(-?\d+) gold", li.find_element(By.CSS_SELECTOR, ".facts").text).group(1))
              for li in page.results()]
    check(prices == sorted(prices, reverse=True), "prices in order: %r" % prices)
    check(prices[0] == max(g["price"] for g in swords), "the dearest sword first")
    Select(driver.find_element(By.ID, "sort")).select_by_value("price-asc")
    page.wait_for_results()
    ascending = [int(re.search(r"(-?\d+) gold", li.find_element(By.CSS_SELECTOR, ".facts").text).group(1))
                 for li in page.results()]
    check(ascending == sorted(ascending), "prices lowest first: %r" % ascending)

    # The state in the address gives the same results when the link is opened again.
    shared = driver.current_url
    names = page.names()
    driver.get("about:blank")
    driver.get(shared)
    page.wait_for_results()
    check(page.names() == names, "a shared link shows the same results")
    check(Select(driver.find_element(By.ID, "class")).first_selected_option.text == "Sword", "the class comes back")
    check(driver.find_element(By.ID, "sort").get_attribute("value") == "price-asc", "the sort comes back")

    # A result leads to the item's place on its class page.
    page.open("#q=zurich")
    link = page.results()[0].find_element(By.CSS_SELECTOR, "h2 a")
    href = link.get_attribute("href")
    check(re.search(r"/itm1Sword\.htm#r\d+$", href), "the link goes to the sword page: %r" % href)
    link.click()
    WebDriverWait(driver, 10).until(lambda d: "itm1Sword.htm" in d.current_url)
    anchor = urllib.parse.urlsplit(driver.current_url).fragment
    row = driver.find_element(By.ID, anchor)
    check("Z\u00dcRICH BLADE" in row.text.upper() or "ZRICH" in row.text.upper(),
          "the row the link names shows the item: %r" % row.text)

    # The keyboard reaches the search box, and Enter does not leave the page.
    page.open()
    reached = False
    for _ in range(6):
        ActionChains(driver).send_keys(Keys.TAB).perform()
        if driver.switch_to.active_element.get_attribute("id") == "q":
            reached = True
            break
    check(reached, "Tab reaches the search box")
    driver.switch_to.active_element.send_keys("cheap", Keys.ENTER)
    time.sleep(0.3)
    page.wait_for_results()
    check(page.names() == ["Cheap Ring"], "Enter searches: %r" % page.names())
    check(driver.current_url.startswith(url), "Enter stays on the page")

    # Every control has a label; every text colour has a contrast of 4.5:1 or more.
    unlabeled = driver.execute_script(
        "return Array.from(document.querySelectorAll('input, select')).filter(function (e) {"
        " return !e.labels || e.labels.length === 0; }).map(function (e) { return e.id; });")
    check(not unlabeled, "controls without a label: %r" % unlabeled)
    low = driver.execute_script(CONTRAST_SCRIPT)
    check(not low, "texts below 4.5:1: %r" % low)


# The contrast of every visible text element against the page's background (WCAG formula).
CONTRAST_SCRIPT = """
function rgb(text) { return text.match(/[\\d.]+/g).slice(0, 3).map(Number); }
function lum(c) {
  var v = c.map(function (x) { x /= 255; return x <= 0.03928 ? x / 12.92 : Math.pow((x + 0.055) / 1.055, 2.4); });
  return 0.2126 * v[0] + 0.7152 * v[1] + 0.0722 * v[2];
}
function background(e) {
  for (; e; e = e.parentElement) {
    var b = getComputedStyle(e).backgroundColor;
    if (b && b !== 'transparent' && !/rgba\\(.*, 0\\)$/.test(b)) return rgb(b);
  }
  return [255, 255, 255];
}
var low = [];
document.querySelectorAll('h1, h2, a, label, p, li, span, option, button, select, input[type=search]').forEach(function (e) {
  if (!e.offsetParent && e.tagName !== 'OPTION') return;
  var s = getComputedStyle(e);
  var a = lum(rgb(s.color)), b = lum(background(e));
  var ratio = (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
  if (ratio < 4.5) low.push(e.tagName + ' ' + (e.id || e.className) + ' ' + ratio.toFixed(2));
});
return low;
"""


def phone_tests(driver, url, data):
    page = Page(driver, url)
    page.open()
    width = driver.execute_script("return document.documentElement.clientWidth;")
    check(width <= 400, "the window is phone-sized: %d" % width)
    overflow = driver.execute_script(
        "return document.documentElement.scrollWidth - document.documentElement.clientWidth;")
    check(overflow <= 0, "no sideways scrolling at %d px: %d px too wide" % (width, overflow))
    for control in ("q", "class", "quality", "sort", "findings"):
        element = driver.find_element(By.ID, control)
        check(element.is_displayed(), control + " is shown")
        right = driver.execute_script("var r = arguments[0].getBoundingClientRect(); return r.right;", element)
        check(right <= width, "%s fits the width (%s > %d)" % (control, right, width))
    page.type_query("falchion bent")
    expect_count(page, 3, 1, data["count"])
    Select(driver.find_element(By.ID, "sort")).select_by_value("date")
    page.wait_for_results()
    page.type_query("")
    names = page.names()
    check(len(names) > 1, "results at 390 px")
    overflow = driver.execute_script(
        "return document.documentElement.scrollWidth - document.documentElement.clientWidth;")
    check(overflow <= 0, "the results fit at %d px: %d px too wide" % (width, overflow))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--fixture", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()

    subprocess.run([args.fixture, args.work], check=True)
    out = os.path.join(args.work, "out")
    subprocess.run([args.cli, "--home", os.path.join(args.work, "home"), "--pool", os.path.join(args.work, "pool"),
                    "--sent", os.path.join(args.work, "sent"), "publish", "--search-page", out],
                   check=True, stdout=subprocess.DEVNULL)
    data = load_data(os.path.join(out, "itm-search.js"))
    url = "file://" + os.path.abspath(os.path.join(out, "itm-search.htm"))

    failures = 0
    for name, test, size in (("desktop", desktop_tests, (1280, 900)), ("390 px", phone_tests, (390, 844))):
        driver = start_browser(*size)
        try:
            test(driver, url, data)
            print("PASS: " + name)
        except Exception:  # noqa: BLE001 - every failure is reported, then the next part runs
            failures += 1
            print("FAIL: " + name)
            traceback.print_exc()
        finally:
            driver.quit()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
