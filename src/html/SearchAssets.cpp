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

  if (!D || !D.items) {
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

  // The items: the data's rows with their place on their class page, gathered into groups of
  // copies that a member cannot tell apart (same name, price, lines and verdict).
  var foldedNames = D.names.map(fold);
  var foldedLines = D.lines.map(fold);
  var ordinals = {};
  var groups = [];
  var byKey = new Map();
  var usedClasses = {};
  for (var i = 0; i < D.items.length; ++i) {
    var r = D.items[i];
    var item = {
      name: r[0], cls: r[1], quality: r[2], price: r[3], page: r[4], lines: r[5],
      sender: r[6], added: r[7], points: r[8], dir: r[9], file: r[10], verdict: r[11], anchor: 0
    };
    if (item.page > 0) {
      ordinals[item.page] = (ordinals[item.page] || 0) + 1;
      item.anchor = ordinals[item.page];
    }
    usedClasses[item.cls] = true;
    var key = item.name + '|' + item.price + '|' + item.lines.join(',') + '|' + item.verdict;
    var group = byKey.get(key);
    if (!group) {
      group = {
        first: item, copies: [], order: groups.length, newest: item.added,
        findings: item.lines.some(isFinding) || false
      };
      byKey.set(key, group);
      groups.push(group);
    }
    group.copies.push(item);
    if (item.added > group.newest) group.newest = item.added;
  }
  var total = D.items.length;

  var classSelect = $('class');
  Object.keys(usedClasses).map(Number).sort(function (a, b) { return a - b; }).forEach(function (code) {
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

  function matches(group, queryWords, nameHits, lineHits) {
    var it = group.first;
    if (classSelect.value !== '' && String(it.cls) !== classSelect.value) return false;
    if ($('quality').value !== '' && QUALITIES[it.quality] !== $('quality').value) return false;
    if ($('findings').checked && !group.findings) return false;
    for (var w = 0; w < queryWords.length; ++w) {
      if (nameHits[w][it.name]) continue;
      var hit = false;
      for (var l = 0; l < it.lines.length && !hit; ++l) hit = lineHits[w][it.lines[l]];
      if (!hit) return false;
    }
    return true;
  }

  var found = [];
  var shown = 0;

  function search() {
    var queryWords = words($('q').value);
    // Each word is looked for once in every distinct name and line, not once per item.
    var nameHits = queryWords.map(function (w) { return foldedNames.map(function (n) { return n.indexOf(w) >= 0; }); });
    var lineHits = queryWords.map(function (w) { return foldedLines.map(function (n) { return n.indexOf(w) >= 0; }); });
    found = groups.filter(function (g) { return matches(g, queryWords, nameHits, lineHits); });
    var sort = $('sort').value;
    if (sort === 'price') {
      found.sort(function (a, b) { return b.first.price - a.first.price || a.order - b.order; });
    } else if (sort === 'price-asc') {
      found.sort(function (a, b) { return a.first.price - b.first.price || a.order - b.order; });
    } else if (sort === 'date') {
      found.sort(function (a, b) { return b.newest - a.newest || a.order - b.order; });
    }
    var items = 0;
    for (var i = 0; i < found.length; ++i) items += found[i].copies.length;
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

  function copyLine(item) {
    var li = element('li');
    var sender = D.senders[item.sender];
    var text = sender ? 'by ' + sender : 'sender unknown';
    text += ', added ' + dateText(item.added);
    if (item.points) text += ', points ' + dateText(item.points);
    li.appendChild(element('span', '', text));
    var path = (D.dirs[item.dir] ? D.dirs[item.dir] + '/' : '') + item.file;
    li.appendChild(document.createTextNode(' '));
    var mail = element('a', 'request', 'request by mail');
    mail.setAttribute('href', 'mailto:' + D.mail + '?subject=Itempool-' + subjectText(path));
    li.appendChild(mail);
    if (item.page > 0 && D.pages[item.page]) {
      li.appendChild(document.createTextNode(' '));
      var onPage = element('a', 'place', 'on its page');
      onPage.setAttribute('href', encodePath(D.pages[item.page]) + '#r' + item.anchor);
      li.appendChild(onPage);
    }
    return li;
  }

  function render(group) {
    var it = group.first;
    var li = element('li', 'item');
    var title = element('h2', 'name');
    var name = D.names[it.name] || '(no name)';
    if (it.page > 0 && D.pages[it.page]) {
      var link = element('a', '', name);
      link.setAttribute('href', encodePath(D.pages[it.page]) + '#r' + it.anchor);
      title.appendChild(link);
    } else {
      title.appendChild(element('span', '', name));
    }
    if (group.copies.length > 1) title.appendChild(element('span', 'copies-count', ' \u00d7' + group.copies.length));
    li.appendChild(title);
    li.appendChild(element('p', 'facts', className(it.cls) + ' \u00b7 ' + QUALITIES[it.quality] + ' \u00b7 ' +
        it.price + ' gold'));
    var effects = element('ul', 'effects');
    var findings = element('ul', 'findings');
    it.lines.forEach(function (line) {
      (isFinding(line) ? findings : effects).appendChild(element('li', '', D.lines[line]));
    });
    if (effects.childNodes.length) li.appendChild(effects);
    if (findings.childNodes.length) li.appendChild(findings);
    if (it.verdict >= 0) li.appendChild(element('p', 'verdict', D.verdicts[it.verdict]));
    var copies = element('ul', 'copies');
    group.copies.forEach(function (item) { copies.appendChild(copyLine(item)); });
    li.appendChild(copies);
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
