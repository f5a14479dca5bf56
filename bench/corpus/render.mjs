// node render.mjs --out DIR [--seed N] [--pages N] [--held]
//
// Renders the corpus pages with the system's Chromium: for each page NNNN.png and
// NNNN.json with its kind, look and truth. The truth is read back from the laid-out
// DOM (every character's box), so no page is transcribed by hand. --held renders the
// held-back set: another seed and looks the rules are never tuned on.

import { chromium } from 'playwright-core';
import { mkdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { kinds, languages } from './kinds.mjs';
import { rng } from './words.mjs';

const args = process.argv.slice(2);
const option = (name, fallback) => {
  const i = args.indexOf(name);
  return i >= 0 ? args[i + 1] : fallback;
};
const held = args.includes('--held');
const out = option('--out');
if (!out) {
  console.error('usage: node render.mjs --out DIR [--seed N] [--pages N] [--held]');
  process.exit(2);
}
const seed = Number(option('--seed', held ? 90210 : 2026));
const pageCount = Number(option('--pages', held ? 108 : 324));
mkdirSync(out, { recursive: true });

const sans = ['DejaVu Sans', 'Noto Sans', 'Liberation Sans'];
const serif = ['DejaVu Serif', 'Noto Serif', 'Liberation Serif'];
const mono = ['DejaVu Sans Mono', 'Noto Mono', 'Liberation Mono'];

function palette(dark, variant) {
  if (dark) {
    return variant
      ? { dark, bg: '#15181d', fg: '#dfe3ea', muted: '#8d96a3', rule: '#343a44', field: '#222730', zebra: '#1c2027' }
      : { dark, bg: '#1f2023', fg: '#e6e6e6', muted: '#9ea3a8', rule: '#3a3d42', field: '#2a2c30', zebra: '#26282c' };
  }
  return variant
    ? { dark, bg: '#fbf8f1', fg: '#2b2620', muted: '#7a7065', rule: '#ddd5c8', field: '#f1ece2', zebra: '#f3eee5' }
    : { dark, bg: '#ffffff', fg: '#1c1c1e', muted: '#6b6f76', rule: '#d9dce1', field: '#f4f5f7', zebra: '#f3f5f8' };
}

// Runs in the page: every drawn character with its box, grouped into the lines a
// reader sees, region by region; list markers as drawn; table cells.
function readTruth() {
  const root = document.getElementById('page');
  const marked = [...root.querySelectorAll('[data-col]')];
  const regions = marked.length ? marked : [root];
  const markerOf = (li) => {
    const type = getComputedStyle(li).listStyleType;
    if (type === 'disc') return '•';
    if (type === 'circle') return '◦';
    if (type === 'square') return '▪';
    if (type === 'decimal') return `${[...li.parentElement.children].indexOf(li) + 1}.`;
    const quoted = type.match(/^"(.*)"$/);
    return quoted ? quoted[1].trim() : null;
  };
  const box = root.getBoundingClientRect();
  // A block wider than the page is cut at the page's edge in the picture; what lies past
  // the edge is not on the screen, so it is not in the truth either.
  const pastEdge = (rect) => rect.left + rect.width / 2 > box.right;
  const lines = [];
  // A monospace block's lines are its source lines: each character's column is its
  // place in the line, whatever the font's advance rounds to.
  const monoOffsets = new Map();
  regions.forEach((region, regionIndex) => {
    const chars = [];
    const walker = document.createTreeWalker(region, NodeFilter.SHOW_TEXT);
    const range = document.createRange();
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      const parent = node.parentElement;
      if (parent.closest('[data-skip]')) continue;
      const monoBlock = parent.closest('[data-mono]');
      const li = parent.closest('li');
      const text = node.data;
      const base = monoBlock ? (monoOffsets.get(monoBlock) ?? 0) : 0;
      if (monoBlock) monoOffsets.set(monoBlock, base + text.length);
      for (let i = 0; i < text.length; ++i) {
        const unit = text.codePointAt(i) > 0xffff ? 2 : 1;
        range.setStart(node, i);
        range.setEnd(node, i + unit);
        const rect = [...range.getClientRects()].find((b) => b.width > 0 && b.height > 0);
        const ch = text.slice(i, i + unit);
        i += unit - 1;
        if (!rect) continue;
        chars.push({ ch, x: rect.left, y: rect.top, w: rect.width, h: rect.height, mono: monoBlock, li, offset: base + i,
          cut: pastEdge(rect) });
      }
    }
    // Marker of each item goes before the item's first drawn character.
    const seenItems = new Set();
    for (const c of chars) {
      if (c.li && !seenItems.has(c.li) && c.ch.trim()) {
        seenItems.add(c.li);
        c.marker = markerOf(c.li);
      }
    }
    const order = chars.map((c, i) => [c, i]).sort((a, b) => (a[0].y + a[0].h / 2) - (b[0].y + b[0].h / 2) || a[1] - b[1]);
    // A character joins the row whose last character it overlaps in height, unless it also
    // stands over or under a character already in that row: then it belongs to another line
    // (a cell wrapped onto two lines beside a vertically centred cell chains both lines
    // through the centred one otherwise).
    const level = (row, c) => {
      const last = row[row.length - 1];
      return Math.min(last.y + last.h, c.y + c.h) - Math.max(last.y, c.y) >= 0.5 * Math.min(last.h, c.h);
    };
    const stacked = (row, c) => row.some((o) => Math.min(o.x + o.w, c.x + c.w) - Math.max(o.x, c.x) > 0.25 * Math.min(o.w, c.w));
    const rows = [];
    for (const [c] of order) {
      const row = rows[rows.length - 1];
      if (row && level(row, c) && !stacked(row, c)) {
        row.push(c);
        continue;
      }
      const other = row && level(row, c)
        ? rows.slice(0, -1).reverse().find((r) => level(r, c) && !stacked(r, c)) : undefined;
      if (other) other.push(c);
      else rows.push([c]);
    }
    for (const row of rows) {
      row.sort((a, b) => a.x - b.x);
      const cut = row.some((c) => c.cut);
      if (cut) row.splice(0, row.length, ...row.filter((c) => !c.cut));
      const visible = row.filter((c) => c.ch.trim());
      if (!visible.length) continue;
      const monoBlock = visible[0].mono;
      let text = '';
      if (monoBlock) {
        const source = monoBlock.textContent;
        const start = source.lastIndexOf('\n', visible[0].offset - 1) + 1;
        const lineEnd = source.indexOf('\n', visible[0].offset);
        const end = cut ? visible[visible.length - 1].offset + 1 : (lineEnd < 0 ? source.length : lineEnd);
        text = source.slice(start, end).replace(/\s+$/, '');
      } else {
        let previous = null;
        for (const c of row) {
          if (c.marker) text += (text.trim() ? ' ' : '') + c.marker + ' ';
          if (previous && c.ch.trim() && previous.ch.trim()) {
            const gap = c.x - (previous.x + previous.w);
            if (gap > 0.25 * c.h) text += ' ';
          }
          text += c.ch;
          previous = c;
        }
        text = text.replace(/\s+/g, ' ').trim();
      }
      const top = Math.min(...visible.map((c) => c.y));
      const bottom = Math.max(...visible.map((c) => c.y + c.h));
      lines.push({ text, mono: !!monoBlock, marker: visible.find((c) => c.marker)?.marker ?? null,
        region: regionIndex, top, bottom });
    }
  });
  const cells = [];
  for (const table of root.querySelectorAll('table[data-cells]')) {
    const width = Math.max(...[...table.rows].map((row) => row.cells.length));
    const rows = [];
    for (const row of table.rows) {
      const spans = [...row.cells].some((cell) => cell.colSpan > 1 || cell.rowSpan > 1);
      if (spans || row.cells.length < width) continue;
      rows.push([...row.cells].map((cell) => cell.innerText.replace(/\s+/g, ' ').trim()));
    }
    cells.push(rows);
  }
  return { lines, cells, box: { x: box.left, y: box.top, width: box.width, height: box.height } };
}

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--font-render-hinting=none'],
});
const names = Object.keys(kinds);
const r = rng(seed);
const contexts = new Map();
const started = Date.now();
for (let index = 0; index < pageCount; ++index) {
  const kind = names[index % names.length];
  const pageSeed = r.int(1, 2 ** 31 - 1);
  const pr = rng(pageSeed);
  const dark = pr.chance(0.4);
  const look = palette(dark, held);
  const made = kinds[kind](pr, look);
  const family = made.mono ? pr.pick(mono) : (['article', 'german', 'french'].includes(kind) && pr.chance(0.4) ? pr.pick(serif) : pr.pick(sans));
  const size = pr.int(10, 20);
  const scale = pr.chance(0.5) ? 2 : 1;
  const colours = made.dark ? { ...palette(true, held), bg: '#101214', fg: '#d0d0d0' } : look;
  // Terminals and code views keep their character cells: wider spacing widens every cell
  // alike there, never the spaces alone.
  const variantCss = held
    ? `#page{letter-spacing:0.015em;word-spacing:0.05em} [data-mono]{word-spacing:0} p{line-height:1.65!important}` : '';
  const html = `<!doctype html><html><head><meta charset="utf-8"><style>
    html,body{margin:0;background:${colours.bg}}
    #page{display:inline-block;box-sizing:border-box;width:${made.width}px;padding:${held ? 28 : 20}px;background:${colours.bg};
      color:${colours.fg};font-family:'${family}';font-size:${size}px;-webkit-font-smoothing:antialiased}
    a{color:${dark || made.dark ? '#6ab0ff' : '#1a5fd0'}}
    ${made.css}
    ${variantCss}
  </style></head><body><div id="page">${made.body}</div></body></html>`;
  if (!contexts.has(scale)) {
    contexts.set(scale, await browser.newContext({ viewport: { width: 1400, height: 1000 }, deviceScaleFactor: scale }));
  }
  const page = await contexts.get(scale).newPage();
  await page.setContent(html, { waitUntil: 'load' });
  await page.evaluate(() => document.fonts.ready);
  const truth = await page.evaluate(readTruth);
  const clip = { ...truth.box };
  let lines = truth.lines;
  let optional = [];
  if (made.cutBottom !== undefined && lines.length > 3) {
    // The drag's bottom edge crosses a line past the middle of the page.
    const sorted = lines.slice().sort((a, b) => a.bottom - b.bottom);
    const crossed = sorted[Math.floor(sorted.length * (0.55 + pr.next() * 0.35))];
    const edge = crossed.top + (crossed.bottom - crossed.top) * made.cutBottom;
    clip.height = Math.round(edge - clip.y);
    optional = lines.filter((l) => l.top < edge && l.bottom > edge).map((l) => l.text);
    lines = lines.filter((l) => l.bottom <= edge);
  }
  const name = String(index).padStart(4, '0');
  await page.screenshot({ path: join(out, `${name}.png`), clip, animations: 'disabled' });
  await page.close();
  writeFileSync(join(out, `${name}.json`), JSON.stringify({
    kind, seed: pageSeed, languages: languages[kind] ?? [], font: family, size, dark: dark || !!made.dark, scale,
    lines: lines.map((l) => ({ text: l.text, mono: l.mono, marker: l.marker })),
    optional, cells: truth.cells,
  }, null, 1));
}
await browser.close();
console.error(`rendered ${pageCount} pages into ${out} in ${((Date.now() - started) / 1000).toFixed(1)} s`);
