// The page kinds. Each takes a random source and the page's look and returns its body,
// extra CSS and width in CSS pixels. Reading order comes from the markup: regions
// marked data-col are read one after another, data-mono regions keep their spaces,
// tables marked data-cells give the cells, data-skip holds no text.

import * as W from './words.mjs';

const esc = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
const emphasis = (r) => (w) => r.pick([`<em>${w}</em>`, `<strong>${w}</strong>`, `<a href="#">${w}</a>`]);

function docs(r, look) {
  const nav = [];
  const items = r.int(12, 27);
  for (let i = 0; i < items; ++i) nav.push(`<div>${esc(W.title(r, r.int(1, 3)))}</div>`);
  const heading = W.title(r, r.int(2, 3));
  const main = [`<h1>${esc(heading)}</h1>`];
  const toc = ['<div class="toc-title">On this page</div>'];
  for (let s = 0; s < r.int(2, 3); ++s) {
    const h = W.title(r, r.int(2, 4));
    main.push(`<h2>${esc(h)}</h2>`);
    toc.push(`<div>${esc(h)}</div>`);
    for (let p = 0; p < r.int(1, 2); ++p) main.push(`<p>${W.paragraph(r, r.int(2, 3), emphasis(r))}</p>`);
  }
  return {
    width: r.int(1000, 1280),
    css: `.wrap{display:flex;gap:48px} nav{width:190px;flex:none;color:${look.muted}} nav div{margin:0 0 6px}
      main{flex:1} h1{font-size:1.7em;margin:0 0 12px} h2{font-size:1.25em;margin:18px 0 8px} p{margin:0 0 10px;line-height:1.5}
      aside{width:180px;flex:none;border-left:1px solid ${look.rule};padding-left:14px} aside div{margin:0 0 6px;color:${look.muted}}
      .toc-title{font-weight:bold;color:${look.fg}!important}`,
    body: `<div class="wrap"><nav data-col>${nav.join('')}</nav><main data-col>${main.join('')}</main>
      <aside data-col>${toc.join('')}</aside></div>`,
  };
}

function chat(r, look) {
  const out = [];
  for (let i = 0; i < r.int(4, 7); ++i) {
    const name = r.pick(W.names);
    const time = `${String(r.int(7, 22)).padStart(2, '0')}:${String(r.int(0, 59)).padStart(2, '0')}`;
    out.push(`<div class="msg"><div class="av" data-skip style="background:hsl(${r.int(0, 359)},55%,55%)"></div>
      <div><div class="who"><b>${name}</b> <span class="t">${time}</span></div><div>${esc(W.sentence(r, 4, 14))}</div></div></div>`);
  }
  return {
    width: r.int(520, 760),
    css: `.msg{display:flex;gap:10px;margin:0 0 14px} .av{width:32px;height:32px;border-radius:50%;flex:none}
      .t{color:${look.muted};font-size:0.85em;margin-left:6px}`,
    body: out.join(''),
  };
}

function inbox(r, look) {
  const rows = [];
  for (let i = 0; i < r.int(5, 9); ++i) {
    const unread = r.chance(0.5);
    const day = r.pick(['Mon', 'Tue', 'Wed', 'Thu', 'Fri', `${r.int(1, 28)} Mar`, `${r.int(7, 18)}:${String(r.int(0, 59)).padStart(2, '0')}`]);
    rows.push(`<div class="row"><span class="dot${unread ? ' on' : ''}" data-skip></span>
      <span class="from${unread ? ' b' : ''}">${r.pick(W.names)}</span><span class="subj">${esc(W.title(r, r.int(3, 6)))}</span>
      <span class="day">${day}</span></div>`);
  }
  return {
    width: r.int(640, 900),
    css: `.row{display:flex;align-items:center;gap:14px;padding:8px 4px;border-bottom:1px solid ${look.rule}}
      .dot{width:9px;height:9px;border-radius:50%;flex:none} .dot.on{background:#1a73e8} .from{width:140px;flex:none;white-space:nowrap}
      .b{font-weight:bold} .subj{flex:1} .day{color:${look.muted}}`,
    body: rows.join(''),
  };
}

function settings(r, look) {
  const rows = [];
  for (let i = 0; i < r.int(4, 7); ++i) {
    const control = r.pick([
      `<span class="in">${esc(W.word(r))}-${r.int(1, 99)}</span>`,
      `<span class="in sel">${esc(W.title(r, 1))}<span class="chev" data-skip></span></span>`,
      `<span><span class="box${r.chance(0.5) ? ' on' : ''}" data-skip></span> ${esc(W.title(r, 2))}</span>`,
      `<span class="val">${W.number(r)}</span>`,
    ]);
    rows.push(`<div class="f"><span class="lab">${esc(W.title(r, r.int(1, 3)))}</span>${control}</div>`);
  }
  return {
    width: r.int(520, 720),
    css: `h2{font-size:1.3em;margin:0 0 14px} .f{display:flex;align-items:center;gap:24px;margin:0 0 12px}
      .lab{width:200px;flex:none;white-space:nowrap} .in{color:${look.fg};background:${look.field};border:1px solid ${look.rule};
      padding:4px 8px;border-radius:6px;min-width:120px;display:inline-block}
      .chev{display:inline-block;width:6px;height:6px;border-right:2px solid ${look.muted};border-bottom:2px solid ${look.muted};
      transform:rotate(45deg);margin-left:14px;vertical-align:3px} .box{display:inline-block;width:13px;height:13px;
      border:1px solid ${look.muted};border-radius:3px;vertical-align:-2px;margin-right:4px} .box.on{background:#1a73e8;border-color:#1a73e8} button{font:inherit;padding:5px 16px;border-radius:6px;border:1px solid ${look.rule};
      background:${look.field};color:${look.fg};margin-right:10px}`,
    body: `<h2>${esc(W.title(r, 2))}</h2>${rows.join('')}<div class="f"><span><button>Save</button><button>Cancel</button></span></div>`,
  };
}

function cellValue(r, column) {
  if (column === 0) return W.title(r, 1);
  return r.pick([`${r.int(1, 99)}.${r.int(0, 9)}`, String(r.int(10, 9999)), `${r.int(1, 9)}.${r.int(10, 99)}`,
    `${r.int(1, 99)}%`, `2026-${String(r.int(1, 12)).padStart(2, '0')}-${String(r.int(1, 28)).padStart(2, '0')}`]);
}

function spreadsheet(r, look) {
  const columns = r.int(4, 6);
  const rows = r.int(6, 10);
  const head = ['<tr><th class="n"></th>'];
  for (let c = 0; c < columns; ++c) head.push(`<th>${String.fromCharCode(65 + c)}</th>`);
  head.push('</tr>');
  const body = [`<tr><td class="n">1</td>${Array.from({ length: columns }, () => `<td>${esc(W.title(r, 1))}</td>`).join('')}</tr>`];
  for (let i = 2; i <= rows; ++i) {
    body.push(`<tr><td class="n">${i}</td>${Array.from({ length: columns }, (_, c) => `<td>${cellValue(r, c)}</td>`).join('')}</tr>`);
  }
  return {
    width: 80 + columns * r.int(100, 130),
    css: `#page{width:max-content!important} table{border-collapse:collapse} td,th{border:1px solid ${look.rule};padding:3px 8px;min-width:70px;text-align:left;white-space:nowrap}
      th,.n{background:${look.field};color:${look.muted};font-weight:normal}`,
    body: `<table data-cells>${head.join('')}${body.join('')}</table>`,
  };
}

function zebra(r, look) {
  const groups = r.int(2, 3);
  const columns = 1 + groups * 2;
  const top = [`<tr><th rowspan="2">${esc(W.title(r, 1))}</th>`];
  const sub = ['<tr>'];
  for (let g = 0; g < groups; ++g) {
    top.push(`<th colspan="2">${r.pick(['Q', 'H'])}${g + 1} ${r.int(2024, 2026)}</th>`);
    sub.push(`<th>${esc(W.title(r, 1))}</th><th>${esc(W.title(r, 1))}</th>`);
  }
  const body = [];
  for (let i = 0; i < r.int(5, 9); ++i) {
    body.push(`<tr>${Array.from({ length: columns }, (_, c) => `<td>${cellValue(r, c)}</td>`).join('')}</tr>`);
  }
  return {
    width: 120 + columns * r.int(90, 120),
    css: `#page{width:max-content!important} table{border-collapse:collapse} th{border-bottom:2px solid ${look.rule};padding:4px 10px}
      td{padding:4px 10px;white-space:nowrap} th{white-space:nowrap} tbody tr:nth-child(even) td{background:${look.zebra}}`,
    body: `<table data-cells><thead>${top.join('')}</tr>${sub.join('')}</tr></thead><tbody>${body.join('')}</tbody></table>`,
  };
}

function lsLine(r) {
  const dir = r.chance(0.3);
  const perms = (dir ? 'd' : '-') + r.pick(['rwxr-xr-x', 'rw-r--r--', 'rw-------', 'rwxrwxr-x']);
  const size = String(dir ? 4096 : r.int(12, 987654)).padStart(7, ' ');
  const date = r.chance(0.5)
    ? `2026-${String(r.int(1, 12)).padStart(2, '0')}-${String(r.int(1, 28)).padStart(2, '0')} ${String(r.int(0, 23)).padStart(2, '0')}:${String(r.int(0, 59)).padStart(2, '0')}`
    : `${r.pick(['Jan', 'Mar', 'Jun', 'Nov'])} ${String(r.int(1, 28)).padStart(2, ' ')} ${String(r.int(0, 23)).padStart(2, '0')}:${String(r.int(0, 59)).padStart(2, '0')}`;
  const name = dir ? W.word(r) : `${W.word(r)}.${r.pick(['txt', 'log', 'png', 'cpp', 'json'])}`;
  return `${perms} ${r.int(1, 9)} ${r.pick(['alex', 'root', 'mia'])} ${r.pick(['staff', 'users'])} ${size} ${date} ${name}`;
}

function terminal(r, look) {
  const lines = [`$ ls -l ${r.pick(['', '~/projects', '/var/log'])}`.trimEnd(), `total ${r.int(8, 400)}`];
  for (let i = 0; i < r.int(5, 10); ++i) lines.push(lsLine(r));
  lines.push(`$ date`, `${r.pick(['Mon', 'Tue', 'Thu'])} ${r.pick(['Mar', 'Nov'])} ${r.int(10, 28)} ${String(r.int(0, 23)).padStart(2, '0')}:${String(r.int(10, 59))}:${String(r.int(10, 59))} UTC 2026`);
  return {
    width: r.int(640, 860), mono: true,
    css: `pre{margin:0;font:inherit;line-height:1.3}`,
    body: `<pre data-mono>${esc(lines.join('\n'))}</pre>`,
  };
}

function manpage(r, look) {
  const cmd = W.word(r);
  const lines = [`${cmd.toUpperCase()}(1)          User Commands          ${cmd.toUpperCase()}(1)`, '', 'NAME',
    `       ${cmd} - ${W.title(r, 4).toLowerCase()}`, '', 'SYNOPSIS', `       ${cmd} [OPTION]... [FILE]...`, '', 'DESCRIPTION'];
  lines.push(`       ${W.sentence(r, 6, 8)}`);
  for (let i = 0; i < r.int(3, 5); ++i) {
    const flag = `-${String.fromCharCode(97 + r.int(0, 25))}, --${W.word(r)}`;
    lines.push(`       ${flag}`, `              ${W.sentence(r, 5, 8)}`);
  }
  return {
    width: r.int(640, 820), mono: true, dark: true,
    css: `pre{margin:0;font:inherit;line-height:1.25}`,
    body: `<pre data-mono>${esc(lines.join('\n'))}</pre>`,
  };
}

const snippets = {
  python: (r) => [`import ${W.word(r)}`, '', `def ${W.word(r)}_${W.word(r)}(items, limit=${r.int(2, 64)}):`,
    `    """${W.sentence(r, 3, 6)}"""`, `    total = 0`, `    for item in items:`, `        if item.${W.word(r)} > limit:`,
    `            total += item.${W.word(r)} * ${r.int(2, 9)}.${r.int(0, 9)}`, `    return total`],
  javascript: (r) => [`const ${W.word(r)} = require('${W.word(r)}');`, '', `function ${W.word(r)}(list) {`,
    `  // ${W.sentence(r, 3, 6)}`, `  return list.filter((x) => x.${W.word(r)} !== null)`, `    .map((x) => x.${W.word(r)} * ${r.int(2, 99)});`, '}'],
  c: (r) => ['#include <stdio.h>', '', `static int ${W.word(r)}(const char *s, int n)`, '{', `    int count = ${r.int(0, 9)};`,
    '    for (int i = 0; i < n; ++i) {', `        if (s[i] == '${r.pick(['a', 'x', '#'])}')`, '            count++;', '    }', '    return count;', '}'],
  rust: (r) => [`use std::collections::HashMap;`, '', `fn ${W.word(r)}(map: &HashMap<String, u32>) -> u32 {`,
    `    let mut sum = ${r.int(0, 9)};`, `    for (key, value) in map {`, `        if key.starts_with("${W.word(r)}") {`, '            sum += value;',
    '        }', '    }', '    sum', '}'],
};

const syntaxColours = (dark) => dark
  ? { kw: '#c678dd', str: '#98c379', num: '#d19a66', com: '#7f848e' }
  : { kw: '#a626a4', str: '#50a14f', num: '#986801', com: '#a0a1a7' };

function colourCode(line, c) {
  return esc(line)
    .replace(/(\/\/.*|#(?!include).*|"""[^"]*""")$/, (m) => `<span style="color:${c.com}">${m}</span>`)
    .replace(/\b(import|def|for|if|in|return|const|function|static|int|use|fn|let|mut|while)\b/g,
      (m) => `<span style="color:${c.kw}">${m}</span>`)
    .replace(/('[^']*'|&quot;[^&]*&quot;)/g, (m) => `<span style="color:${c.str}">${m}</span>`)
    .replace(/\b(\d+(\.\d+)?)\b/g, (m) => `<span style="color:${c.num}">${m}</span>`);
}

function code(r, look) {
  const language = r.pick(Object.keys(snippets));
  const lines = snippets[language](r);
  const c = syntaxColours(look.dark);
  return {
    width: r.int(560, 760), mono: true,
    css: `pre{margin:0;font:inherit;line-height:1.4;background:${look.field};padding:12px;border-radius:8px}`,
    body: `<pre data-mono>${lines.map((l) => colourCode(l, c)).join('\n')}</pre>`,
  };
}

const markerStyles = ['disc', 'circle', 'square', 'decimal', '"– "'];

function lists(r, look) {
  const outer = r.pick(markerStyles);
  const inner = r.pick(markerStyles.filter((m) => m !== outer));
  const items = [];
  for (let i = 0; i < r.int(3, 5); ++i) {
    let sub = '';
    if (r.chance(0.4)) {
      const subItems = Array.from({ length: r.int(2, 3) }, () => `<li>${esc(W.sentence(r, 3, 7))}</li>`);
      sub = `<ul style="list-style-type:${inner}">${subItems.join('')}</ul>`;
    }
    items.push(`<li>${esc(W.sentence(r, 3, 9))}${sub}</li>`);
  }
  const tag = outer === 'decimal' ? 'ol' : 'ul';
  return {
    width: r.int(520, 800),
    css: `li{margin:0 0 6px} ul,ol{margin:6px 0;padding-left:28px} h3{margin:0 0 10px}`,
    body: `<h3>${esc(W.title(r, 3))}</h3><${tag} style="list-style-type:${outer}">${items.join('')}</${tag}><p>${esc(W.sentence(r))}</p>`,
  };
}

function banner(r, look) {
  const hue = r.int(0, 359);
  const blobs = Array.from({ length: r.int(3, 5) }, () =>
    `<div class="blob" data-skip style="left:${r.int(0, 80)}%;top:${r.int(0, 70)}%;background:hsl(${(hue + r.int(20, 200)) % 360},80%,60%)"></div>`).join('');
  const date = `${r.pick(['March', 'June', 'November'])} ${r.int(1, 28)}, 2026 · ${r.int(1, 12)}:${String(r.int(0, 59)).padStart(2, '0')} PM`;
  return {
    width: r.int(600, 900),
    css: `.hero{position:relative;overflow:hidden;padding:36px 40px;border-radius:14px;color:#fff;
      background:linear-gradient(${r.int(0, 180)}deg,hsl(${hue},70%,40%),hsl(${(hue + 60) % 360},70%,55%),hsl(${(hue + 140) % 360},60%,45%))}
      .blob{position:absolute;width:220px;height:220px;border-radius:50%;filter:blur(40px);opacity:0.7}
      .hero>*:not(.blob){position:relative} h1{font-size:2.2em;margin:0 0 8px} .sub{font-size:1.15em;margin:0 0 16px}
      .pill{display:inline-block;background:#fff;color:#111;border-radius:999px;padding:6px 18px;margin:0 0 14px}
      .date{font-size:13px;opacity:0.9}`,
    body: `<div class="hero">${blobs}<h1>${esc(W.title(r, 3))}</h1><div class="sub">${esc(W.sentence(r, 5, 9))}</div>
      <div class="pill">${esc(W.title(r, 2))}</div><div class="date">${date}</div></div>`,
  };
}

function article(r, look) {
  const ps = [];
  for (let i = 0; i < r.int(2, 3); ++i) ps.push(`<p>${W.paragraph(r, r.int(2, 3), emphasis(r))}</p>`);
  const notes = Array.from({ length: r.int(2, 3) }, (_, i) => `<div class="fn">${i + 1}. ${esc(W.sentence(r, 5, 10))}</div>`);
  return {
    width: r.int(520, 760),
    css: `h2{margin:0 0 10px} p{line-height:1.5;margin:0 0 12px} .fn{font-size:11px;color:${look.muted};margin:0 0 4px}`,
    body: `<h2>${esc(W.title(r, 3))}</h2>${ps.join('')}<div>${notes.join('')}</div>`,
  };
}

function language(pool) {
  return (r, look) => {
    const chosen = r.shuffle(pool).slice(0, r.int(4, 7));
    const split = r.int(2, chosen.length - 1);
    return {
      width: r.int(480, 720),
      css: `p{line-height:1.5;margin:0 0 12px}`,
      body: `<p>${esc(chosen.slice(0, split).join(' '))}</p><p>${esc(chosen.slice(split).join(' '))}</p>`,
    };
  };
}

function address(r, look) {
  const rows = [
    ['Name', r.pick(W.names)], ['Street', `${r.int(1, 240)} ${W.title(r, 1)} Road`],
    ['City', `${r.int(10000, 99999)} ${W.title(r, 1)}`], ['Phone', `+49 ${r.int(30, 89)} ${r.int(100000, 9999999)}`],
    ['Email', `${W.word(r)}@${W.word(r)}.org`],
  ];
  const url = `https://${W.word(r)}.example.com/${W.word(r)}`;
  return {
    width: r.int(480, 700),
    css: `.kv{display:grid;grid-template-columns:110px auto;row-gap:6px;margin:0 0 14px} .k{color:${look.muted}}
      a{color:${look.dark ? '#6ab0ff' : '#1a5fd0'};text-decoration:underline}`,
    body: `<div class="kv">${rows.map(([k, v]) => `<span class="k">${k}</span><span>${esc(v)}</span>`).join('')}</div>
      <div>${esc(W.sentence(r, 3, 5)).replace(/\.$/, '')} at <a href="#">${url}</a> for details.</div>`,
  };
}

function report(r, look) {
  const rows = Array.from({ length: r.int(3, 5) }, () =>
    `<tr><td>${esc(W.title(r, 1))}</td><td>${r.int(1, 9)}.${r.int(0, 9)}</td><td>${r.int(1, 99)}.${r.int(0, 9)}</td><td>${r.int(1, 99)}%</td></tr>`);
  return {
    width: r.int(900, 1200),
    css: `p{line-height:1.5;margin:0 0 12px;max-width:720px} table{border-collapse:collapse;margin:0 0 14px}
      td,th{padding:3px 14px;border-bottom:1px solid ${look.rule};text-align:left;white-space:nowrap}`,
    body: `<h2>${esc(W.title(r, 3))}</h2><p>${W.paragraph(r, 2)}</p>
      <table data-cells><tr><th>${esc(W.title(r, 1))}</th><th>Rain (mm)</th><th>Mean</th><th>Share</th></tr>${rows.join('')}</table>
      <p>${W.paragraph(r, 2)}</p>`,
  };
}

// A grab whose bottom edge crosses a line: the line may be dropped or read whole.
function cut(r, look) {
  const page = r.chance(0.5) ? article(r, look) : chat(r, look);
  return { ...page, cutBottom: r.next() * 0.5 + 0.25 };
}

// The languages a reader of each kind has set; English otherwise.
export const languages = { german: ['de-DE'], french: ['fr-FR'], spanish: ['es-ES'] };

export const kinds = {
  docs, chat, inbox, settings, spreadsheet, zebra, terminal, manpage, code, lists, banner, article,
  german: language(W.german), french: language(W.french), spanish: language(W.spanish), address, report, cut,
};
