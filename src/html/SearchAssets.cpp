// The search page's code and look. They are the same for every pool; the items come from the data
// file (SearchIndex::DataScript), which the page loads first.

#include "html/SearchAssets.h"

namespace relicor {

// Every text of an item reaches the page through textContent or setAttribute, never as markup.
const std::string_view kSearchScript =
    R"JS(// The search page of the item pool: search, filters, sort and the state in the address.
(function () {
  'use strict';
  var D = window.RELICOR_SEARCH;
  var $ = function (id) { return document.getElementById(id); };
  var PAGE_SIZE = 50;
  var QUALITIES = ['normal', 'magic', 'unique'];
  var DAY_MS = 86400000;
  var EPOCH = Date.UTC(1899, 11, 30);

  if (!D || !D.entries) {
    $('count').textContent = 'The item data could not be loaded.';
    return;
  }

  // Lower case, accents and other marks dropped, so "SCHÖN" finds "schon" and the other way round.
  function fold(text) {
    return text.normalize('NFD').replace(/[\u0300-\u036f]/g, '').replace(/\u00df/g, 'ss').toLowerCase();
  }
  function words(text) {
    return fold(text).split(/\s+/).filter(function (w) { return w.length > 0; });
  }
  function dateText(day) {
    var d = new Date(EPOCH + day * DAY_MS);
    var two = function (n) { return (n < 10 ? '0' : '') + n; };
    return two(d.getUTCDate()) + '.' + two(d.getUTCMonth() + 1) + '.' + d.getUTCFullYear();
  }
  function isFinding(line) { return D.lines[line].lastIndexOf('***', 0) === 0; }
  function className(code) { return D.classes[code] || 'Other'; }
  function encodePath(text) {
    return text.split('/').map(encodeURIComponent).join('/');
  }
  // The subject as the class pages write it: %, & and # and control characters as %XX.
  function subjectText(text) {
    return text.replace(/[%&#\u0000-\u001f\u007f]/g, function (c) {
      var hex = c.charCodeAt(0).toString(16).toUpperCase();
      return '%' + (hex.length < 2 ? '0' : '') + hex;
    });
  }

  // An entry: [name, class, quality, price, page class, [lines], verdict, findings, newest,
  // [copies]], where each copy is six values: sender, added, points, directory, file and its row
  // on the class page. The entries come in name order.
  var NAME = 0, CLASS = 1, QUALITY = 2, PRICE = 3, PAGE = 4, LINES = 5, VERDICT = 6, FINDINGS = 7, NEWEST = 8,
      COPIES = 9, COPY_SIZE = 6;
  var entries = D.entries;
  var total = D.count;
  var foldedNames = null;
  var foldedLines = null;

  var classSelect = $('class');
  Object.keys(D.classes).map(Number).sort(function (a, b) { return a - b; }).forEach(function (code) {
    var option = document.createElement('option');
    option.value = String(code);
    option.textContent = className(code);
    classSelect.appendChild(option);
  });

  // The state: the controls and the address hold the same.
  function readState() {
    var params = new URLSearchParams(location.hash.replace(/^#/, ''));
    $('q').value = params.get('q') || '';
    classSelect.value = params.get('class') || '';
    if (classSelect.selectedIndex < 0) classSelect.value = '';
    $('quality').value = params.get('quality') || '';
    if ($('quality').selectedIndex < 0) $('quality').value = '';
    $('sort').value = params.get('sort') || 'name';
    if ($('sort').selectedIndex < 0) $('sort').value = 'name';
    $('findings').checked = params.get('findings') === '1';
  }
  function writeState() {
    var params = new URLSearchParams();
    if ($('q').value) params.set('q', $('q').value);
    if (classSelect.value) params.set('class', classSelect.value);
    if ($('quality').value) params.set('quality', $('quality').value);
    if ($('sort').value !== 'name') params.set('sort', $('sort').value);
    if ($('findings').checked) params.set('findings', '1');
    var hash = params.toString().replace(/\+/g, '%20');
    try {
      history.replaceState(null, '', hash ? '#' + hash : location.pathname + location.search);
    } catch (e) {
      // Some browsers refuse it for local files; the results are right all the same.
    }
  }

  function matches(entry, cls, quality, findings, queryWords, nameHits, lineHits) {
    if (cls !== '' && String(entry[CLASS]) !== cls) return false;
    if (quality !== '' && QUALITIES[entry[QUALITY]] !== quality) return false;
    if (findings && !entry[FINDINGS]) return false;
    for (var w = 0; w < queryWords.length; ++w) {
      if (nameHits[w][entry[NAME]]) continue;
      var lines = entry[LINES], hit = false;
      for (var l = 0; l < lines.length && !hit; ++l) hit = lineHits[w][lines[l]];
      if (!hit) return false;
    }
    return true;
  }

  var found = [];
  var shown = 0;

  function copiesOf(entry) { return entry[COPIES].length / COPY_SIZE; }

  function search() {
    var queryWords = words($('q').value);
    var cls = classSelect.value, quality = $('quality').value, findings = $('findings').checked;
    // Each word is looked for once in every distinct name and line, not once per item.
    if (queryWords.length && !foldedNames) {
      foldedNames = D.names.map(fold);
      foldedLines = D.lines.map(fold);
    }
    var hits = function (texts) {
      return queryWords.map(function (w) { return texts.map(function (t) { return t.indexOf(w) >= 0; }); });
    };
    var nameHits = queryWords.length ? hits(foldedNames) : [];
    var lineHits = queryWords.length ? hits(foldedLines) : [];
    var all = !queryWords.length && cls === '' && quality === '' && !findings;
    found = all ? entries.slice() : entries.filter(function (e) {
      return matches(e, cls, quality, findings, queryWords, nameHits, lineHits);
    });
    var sort = $('sort').value;
    // The sort is stable: equal entries stay in name order.
    var order = function (by) { found.sort(by); };
    if (sort === 'price') {
      order(function (a, b) { return b[PRICE] - a[PRICE]; });
    } else if (sort === 'price-asc') {
      order(function (a, b) { return a[PRICE] - b[PRICE]; });
    } else if (sort === 'date') {
      order(function (a, b) { return b[NEWEST] - a[NEWEST]; });
    }
    var items = all ? total : 0;
    if (!all) for (var i = 0; i < found.length; ++i) items += copiesOf(found[i]);
    $('count').textContent = items + (items === 1 ? ' item' : ' items') +
        (found.length !== items ? ' in ' + found.length + (found.length === 1 ? ' entry' : ' entries') : '') +
        ' found of ' + total;
    $('results').textContent = '';
    shown = 0;
    showMore();
    writeState();
  }

  function element(tag, className, text) {
    var e = document.createElement(tag);
    if (className) e.className = className;
    if (text !== undefined) e.textContent = text;
    return e;
  }

  function placeOf(entry, row) {
    var page = D.pages[entry[PAGE]];
    return entry[PAGE] > 0 && page && row > 0 ? encodePath(page) + '#r' + row : '';
  }

  function copyLine(entry, k) {
    var c = entry[COPIES], at = k * COPY_SIZE;
    var li = element('li');
    var sender = D.senders[c[at]];
    var text = sender ? 'by ' + sender : 'sender unknown';
    text += ', added ' + dateText(c[at + 1]);
    if (c[at + 2]) text += ', points ' + dateText(c[at + 2]);
    li.appendChild(element('span', '', text));
    var path = (D.dirs[c[at + 3]] ? D.dirs[c[at + 3]] + '/' : '') + c[at + 4];
    li.appendChild(document.createTextNode(' '));
    var mail = element('a', 'request', 'request by mail');
    mail.setAttribute('href', 'mailto:' + D.mail + '?subject=Itempool-' + subjectText(path));
    li.appendChild(mail);
    var place = placeOf(entry, c[at + 5]);
    if (place) {
      li.appendChild(document.createTextNode(' '));
      var onPage = element('a', 'place', 'on its page');
      onPage.setAttribute('href', place);
      li.appendChild(onPage);
    }
    return li;
  }

  function render(entry) {
    var li = element('li', 'item');
    var title = element('h2', 'name');
    var name = D.names[entry[NAME]] || '(no name)';
    var place = placeOf(entry, entry[COPIES][5]);
    if (place) {
      var link = element('a', '', name);
      link.setAttribute('href', place);
      title.appendChild(link);
    } else {
      title.appendChild(element('span', '', name));
    }
    var copies = copiesOf(entry);
    if (copies > 1) title.appendChild(element('span', 'copies-count', ' \u00d7' + copies));
    li.appendChild(title);
    li.appendChild(element('p', 'facts', className(entry[CLASS]) + ' \u00b7 ' + QUALITIES[entry[QUALITY]] +
        ' \u00b7 ' + entry[PRICE] + ' gold'));
    var effects = element('ul', 'effects');
    var findings = element('ul', 'findings');
    entry[LINES].forEach(function (line) {
      (isFinding(line) ? findings : effects).appendChild(element('li', '', D.lines[line]));
    });
    if (effects.childNodes.length) li.appendChild(effects);
    if (findings.childNodes.length) li.appendChild(findings);
    if (entry[VERDICT] >= 0) li.appendChild(element('p', 'verdict', D.verdicts[entry[VERDICT]]));
    var list = element('ul', 'copies');
    for (var k = 0; k < copies; ++k) list.appendChild(copyLine(entry, k));
    li.appendChild(list);
    return li;
  }

  function showMore() {
    var list = $('results');
    var end = Math.min(found.length, shown + PAGE_SIZE);
    var part = document.createDocumentFragment();
    for (; shown < end; ++shown) part.appendChild(render(found[shown]));
    list.appendChild(part);
    $('more').hidden = shown >= found.length;
  }

  var pending = 0;
  $('q').addEventListener('input', function () {
    clearTimeout(pending);
    pending = setTimeout(search, 120);
  });
  ['class', 'quality', 'sort', 'findings'].forEach(function (id) { $(id).addEventListener('change', search); });
  $('controls').addEventListener('submit', function (e) { e.preventDefault(); search(); });
  $('more').addEventListener('click', showMore);
  window.addEventListener('hashchange', function () { readState(); search(); });

  readState();
  search();
})();
)JS";

const std::string_view kSearchStyle =
    R"CSS(/* The search page: light text on black as the pool pages, every colour at 4.5:1 or more. */
*, *::before, *::after { box-sizing: border-box; }
html { -webkit-text-size-adjust: 100%; text-size-adjust: 100%; }
body { margin: 0; background: #000000; color: #d8d8d8; font-family: Arial, Helvetica, sans-serif; font-size: 1rem; line-height: 1.45; }
header, main { max-width: 60rem; margin: 0 auto; padding: 0 1rem; }
header { padding-top: 0.75rem; }
nav a { display: inline-block; margin: 0 1.25rem 0.25rem 0; }
h1 { font-size: 1.4rem; margin: 0.5rem 0 1rem; color: #f0f0f0; }
a { color: #ff8080; }
a:visited { color: #ffa0a0; }
a:hover { color: #ffc0c0; }
a:focus-visible, input:focus-visible, select:focus-visible, button:focus-visible { outline: 3px solid #ffd75e; outline-offset: 2px; }
form { display: flex; flex-wrap: wrap; gap: 0.75rem 1rem; align-items: flex-end; margin-bottom: 1rem; }
.field { display: flex; flex-direction: column; min-width: 9rem; flex: 1 1 9rem; }
.field.wide { flex: 2 1 100%; }
.field.check { flex-direction: row; align-items: center; gap: 0.5rem; min-height: 2.5rem; }
label { color: #f0f0f0; margin-bottom: 0.2rem; }
.check label { margin: 0; }
input[type=search], select { font: inherit; color: #000000; background: #f0f0f0; border: 1px solid #a0a0a0; border-radius: 3px; padding: 0.4rem 0.5rem; min-height: 2.5rem; width: 100%; }
input[type=checkbox] { width: 1.25rem; height: 1.25rem; margin: 0; }
button { font: inherit; color: #000000; background: #f0f0f0; border: 1px solid #a0a0a0; border-radius: 3px; padding: 0.5rem 1rem; min-height: 2.5rem; cursor: pointer; }
#count { color: #f0f0f0; font-weight: bold; }
#results { list-style: none; margin: 0; padding: 0; }
.item { border-top: 1px solid #606060; padding: 0.6rem 0; overflow-wrap: anywhere; }
.item h2 { font-size: 1.05rem; margin: 0; }
.copies-count { color: #ffd75e; }
.facts { margin: 0.1rem 0 0.3rem; color: #c8c8c8; }
.effects, .findings, .copies { margin: 0.2rem 0; padding-left: 1.25rem; }
.findings { color: #ff9a9a; }
.verdict { margin: 0.2rem 0; color: #a8e0a8; }
.copies { color: #c8c8c8; font-size: 0.95rem; }
.copies a { margin-left: 0.25rem; }
)CSS";

}  // namespace relicor
