// Word pools and small generators of text that reads like the screens people grab.

export function rng(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const r = {
    next,
    int: (lo, hi) => lo + Math.floor(next() * (hi - lo + 1)),
    pick: (list) => list[Math.floor(next() * list.length)],
    chance: (p) => next() < p,
    shuffle: (list) => {
      const out = list.slice();
      for (let i = out.length - 1; i > 0; --i) {
        const j = Math.floor(next() * (i + 1));
        [out[i], out[j]] = [out[j], out[i]];
      }
      return out;
    },
  };
  return r;
}

const english = `account action address answer archive backup balance batch border branch budget buffer
build cache calendar change channel chart check client cloud column comment commit config
contact content copy count cursor customer dashboard data deadline default delivery deploy
detail device draft driver editor email engine entry error event export feature field
filter folder format frame group header history host image import index input invoice
issue item label layer layout limit link list local message method metric mirror model
module network note notice number option order output owner package page panel parser
path payment picture pixel plan policy port preview profile project queue quota range
record region release report request review route sample schedule screen script search
section server service session setting share signal source status storage stream summary
support switch table target task team template thread ticket timer token update upload
user value version view volume window worker`.split(/\s+/);

const verbs = `adds keeps moves opens reads saves sends shows sorts stores syncs checks builds clears
copies finds joins marks takes tracks lists loads makes needs runs sets uses waits writes`.split(/\s+/);

const small = `the a this each every one new old next last first our your its`.split(/\s+/);
const joiners = `and or but then so while after before when`.split(/\s+/);
const hyphenated = `well-known read-only up-to-date built-in full-screen left-hand real-time
long-term one-time opt-in drop-down follow-up sign-in`.split(/\s+/);

export const names = `Maria Lopez|Jonas Weber|Aiko Tanaka|Priya Shah|Tom Becker|Lea Martin|Omar Haddad|
Sofia Rossi|Ben Carter|Nora Lind|Ivan Petrov|Chloe Dubois|Diego Alvarez|Emma Brown|Yusuf Kaya`
  .split('|').map((s) => s.trim());

export function word(r) { return r.pick(english); }

export function title(r, n = r.int(2, 4)) {
  const out = [];
  for (let i = 0; i < n; ++i) out.push(word(r));
  out[0] = out[0][0].toUpperCase() + out[0].slice(1);
  return out.join(' ');
}

export function number(r) {
  switch (r.int(0, 7)) {
    case 0: return `${r.int(1, 99)}.${r.int(0, 9)}`;
    case 1: return `${r.int(1, 9)},${String(r.int(0, 999)).padStart(3, '0')}`;
    case 2: return `${r.int(0, 23).toString().padStart(2, '0')}:${r.int(0, 59).toString().padStart(2, '0')}`;
    case 3: return `2026-${String(r.int(1, 12)).padStart(2, '0')}-${String(r.int(1, 28)).padStart(2, '0')}`;
    case 4: return `${r.int(2, 98)}%`;
    case 5: return `${r.int(1, 9)}.${r.int(10, 99)}`;
    case 6: return String(r.int(10, 4096));
    default: return `v${r.int(1, 9)}.${r.int(0, 20)}.${r.int(0, 9)}`;
  }
}

// A sentence of plain words with the odd number or hyphenated word; `marks` lets the
// caller wrap a word (emphasis, a link).
export function sentence(r, lo = 6, hi = 13, marks = null) {
  const n = r.int(lo, hi);
  const out = [];
  for (let i = 0; i < n; ++i) {
    let w;
    const roll = r.next();
    if (i > 0 && roll < 0.12) w = r.pick(small);
    else if (i > 0 && roll < 0.2) w = r.pick(verbs);
    else if (i > 1 && roll < 0.25) w = r.pick(joiners);
    else if (roll < 0.29) w = r.pick(hyphenated);
    else if (i > 0 && roll < 0.33) w = number(r);
    else w = word(r);
    if (marks && i > 0 && r.chance(0.12)) w = marks(w);
    out.push(w);
  }
  out[0] = out[0].replace(/^[a-z]/, (c) => c.toUpperCase());
  return out.join(' ') + r.pick(['.', '.', '.', '?', '!', ':']).replace(':', '.');
}

export function paragraph(r, sentences = r.int(2, 4), marks = null) {
  const out = [];
  for (let i = 0; i < sentences; ++i) out.push(sentence(r, 6, 13, marks));
  return out.join(' ');
}

export const german = [
  'Die Sicherung läuft jeden Abend um 22:30 Uhr und dauert etwa 14 Minuten.',
  'Größere Dateien werden zuerst geprüft, danach übertragen.',
  'Bitte öffnen Sie die Einstellungen und wählen Sie „Übersicht“.',
  'Für Rückfragen erreichen Sie uns montags bis freitags.',
  'Der Bericht enthält 3 Tabellen und 12 Abbildungen.',
  'Äußerst wichtig: Änderungen werden sofort gespeichert.',
  'Die Straße vor dem Büro ist bis zum 14.03.2026 gesperrt.',
  'Wir haben die Gebühren für Überweisungen um 0,5 % gesenkt.',
  'Das Treffen findet im großen Saal im Erdgeschoss statt.',
  'Neue Mitarbeiterinnen erhalten ihre Zugänge am ersten Tag.',
];

export const french = [
  '« Bonjour à tous », dit-elle en ouvrant la réunion.',
  'La mise à jour sera déployée le 12 mars à 9 h 30.',
  'Vous trouverez ci-joint le compte rendu de la séance.',
  'Les élèves ont présenté leurs résultats avec beaucoup d’assurance.',
  '« Il faut vérifier chaque étape », répète le responsable.',
  'Le coût total s’élève à 1 240,50 € pour cette année.',
  'Ça dépend surtout de la qualité des données reçues.',
  'Cette fenêtre se ferme après quinze secondes d’inactivité.',
  'Où se trouve le fichier créé hier soir ?',
  'Nous étudierons votre demande dès réception du dossier.',
];

export const spanish = [
  '¿Dónde está la configuración de la cuenta?',
  'La reunión empieza a las 10:15 en la sala pequeña.',
  '¡Gracias por enviar el informe tan rápido!',
  'El año pasado el equipo creció un 25 % más que antes.',
  'Según el análisis, la conexión falla cada mañana.',
  'Los niños aprendieron canciones en español y en inglés.',
  'Añada la dirección de envío antes de confirmar el pedido.',
  'La señal vuelve después de reiniciar el módem.',
  'El pedido número 4512 llegará el miércoles.',
  'Por favor, revise la sección de preguntas frecuentes.',
];
