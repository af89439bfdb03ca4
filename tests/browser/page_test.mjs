// The configuration page in Debian's headless Chromium, against the real program: every form
// used as a person would, with what the page shows and what the files hold checked after each.
//
// usage: node page_test.mjs --program PATH --tool PATH --shots DIR
import { spawn, execFileSync } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';

const args = Object.fromEntries(
  process.argv.slice(2).reduce((pairs, a, i, all) => (a.startsWith('--') ? [...pairs, [a.slice(2), all[i + 1]]] : pairs), []));
const shotsDir = args.shots ?? fs.mkdtempSync(path.join(os.tmpdir(), 'chimewell-shots-'));
fs.mkdirSync(shotsDir, { recursive: true });

const CHROMIUM_FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

async function waitFor(what, check, timeoutMs = 30000) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    try {
      const value = await check();
      if (value) return value;
    } catch { /* not yet */ }
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(100);
  }
}

// The value of [section] key in an INI text, or undefined.
function iniValue(text, section, key) {
  let inSection = false;
  for (const line of text.split(/\r?\n/)) {
    const s = line.match(/^\s*\[(.*)\]\s*$/);
    if (s) { inSection = s[1].toLowerCase() === section.toLowerCase(); continue; }
    const kv = line.match(/^([^=]+)=(.*)$/);
    if (inSection && kv && kv[1].trim().toLowerCase() === key.toLowerCase()) return kv[2].trim();
  }
  return undefined;
}

// The loudest 16-bit sample of the capture's data from byte `from` on.
function loudestSample(file, from = 0) {
  const bytes = fs.readFileSync(file);
  const data = bytes.indexOf(Buffer.from('data'));
  if (data < 0) return 0;
  let peak = 0;
  for (let at = Math.max(data + 8, from) & ~1; at + 1 < bytes.length; at += 2) {
    peak = Math.max(peak, Math.abs(bytes.readInt16LE(at)));
  }
  return peak;
}

const home = fs.mkdtempSync(path.join(os.tmpdir(), 'chimewell-browser-'));
const capture = path.join(home, 'capture.wav');
const port = await freePort();
const settingsFile = path.join(home, 'chimewell.ini');
const scheduleFile = path.join(home, 'chimewell.sch');
fs.writeFileSync(settingsFile, `[App]\r\nPortNumber=${port}\r\n`);
fs.writeFileSync(scheduleFile, '# start\r\n');

// A recorded voice set for the time-signal test, made with the speech synthesizer.
const voices = path.join(home, 'voices');
execFileSync(args.tool, ['voiceset', '--type', '1', '--out', voices], { stdio: 'inherit' });

const program = spawn(args.program, ['--headless', '--home', home, '--audio', `wav:${capture}`],
  { stdio: ['ignore', 'inherit', 'inherit'] });
let programExited = false;
program.on('exit', () => { programExited = true; });
const base = `http://127.0.0.1:${port}/`;
await waitFor('the configuration page', async () => (await fetch(base)).ok);

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'chimewell-profile-'));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium', headless: true, args: CHROMIUM_FLAGS,
  viewport: { width: 1100, height: 900 },
});
const page = context.pages()[0] ?? await context.newPage();
let shot = 0;
async function screenshot(name) {
  await page.screenshot({ path: path.join(shotsDir, `${String(++shot).padStart(2, '0')}-${name}.png`), fullPage: true });
}
async function openSection(id) {
  const button = page.locator(`button.toggle[aria-controls="${id}-body"]`);
  if ((await button.getAttribute('aria-expanded')) !== 'true') await button.click();
  await page.locator(`#${id}-body`).waitFor({ state: 'visible' });
}
async function submit(form) {
  await Promise.all([page.waitForNavigation(), form.locator('button[type=submit]').click()]);
}
const errors = () => page.locator('.errors').innerText();
const settings = () => fs.readFileSync(settingsFile, 'latin1');

try {
  await page.goto(base);
  assert.equal(await errors(), '');
  await screenshot('page');

  // ---- schedule: one line from the structured form ----
  await openSection('sche');
  const add = page.locator('#scheadd');
  await add.locator('select[name=SCHECMD]').selectOption('MESS');
  await add.locator('input[name=SCHEARG]').fill('  おはよう ');
  await add.locator('#modes-b input[value=AT]').check();
  await add.locator('input[name=SCHE1HOUR]').fill('7');
  await add.locator('input[name=SCHE1MIN]').fill('30');
  await add.locator('input[name=SCHEW2]').check();
  await add.locator('input[name=SCHEW6]').check();
  await submit(add);
  const line = 'Speak "おはよう" At 7:30 repeat 1 every 月 金';
  assert.equal(await errors(), '');
  assert.match(await page.locator('textarea[name=CONTENTS]').inputValue(), /^# start\r?\nSpeak "おはよう" At 7:30 repeat 1 every 月 金/);
  assert.equal(fs.readFileSync(scheduleFile, 'utf8'), `# start\r\n${line}\r\n`);
  await screenshot('schedule-added');

  // ---- schedule: the whole script replaced, then a faulty one refused ----
  await openSection('sche');
  const set = page.locator('form:has(input[name=SCHESET])');
  await set.locator('textarea').fill('Time "[hour][min]" At 12:00 repeat 1\n# lunch');
  await submit(set);
  assert.equal(await errors(), '');
  assert.equal(fs.readFileSync(scheduleFile, 'utf8'), 'Time "[hour][min]" At 12:00 repeat 1\r\n# lunch\r\n');
  await set.locator('textarea').fill('Nonsense here');
  await submit(set);
  assert.match(await errors(), /スクリプトにエラーがあります/);
  assert.match(await page.locator('textarea[name=CONTENTS]').inputValue(), /Nonsense here/);
  assert.equal(fs.readFileSync(scheduleFile, 'utf8'), 'Time "[hour][min]" At 12:00 repeat 1\r\n# lunch\r\n');
  await screenshot('schedule-refused');

  // ---- base settings ----
  await openSection('base');
  const baseForm = page.locator('form:has(input[name=BASESET])');
  await baseForm.locator('input[name=SPEAKOFFSET]').fill('300');
  await baseForm.locator('input[name=MIDIVOLUME]').fill('70');
  await baseForm.locator('input[name=LIPSVIEW][value="1"]').check();
  await submit(baseForm);
  assert.equal(iniValue(settings(), 'Config', 'SpeakOffset'), '300');
  assert.equal(iniValue(settings(), 'Config', 'DefaultVolume'), '70');
  assert.equal(await page.locator('input[name=SPEAKOFFSET]').inputValue(), '300');
  await screenshot('base');

  // ---- time signal: the made voice set ----
  await openSection('jiho');
  const jiho = page.locator('#jihoform');
  await jiho.locator('input[name=JIHOTYPE][value="1"]').check();
  await jiho.locator('input[name=JIHOFDRSEL][value="0"]').check();
  await jiho.locator('input[name=JIHOFDR]').fill(voices);
  await jiho.locator('input[name=JIHOFORMAT]').fill('[hour][min]');
  await submit(jiho);
  assert.equal(await errors(), '');
  assert.equal(iniValue(fs.readFileSync(settingsFile, 'utf8'), 'Jiho', 'Folder'), voices);
  assert.equal(iniValue(settings(), 'Jiho', 'Type'), '1');
  await screenshot('jiho');

  // ---- clock face: a colour picked from a grid ----
  await openSection('digi');
  const digi = page.locator('form[name=DIGIFORM]');
  await digi.locator('details.palette').first().locator('summary').click();
  const cell = digi.locator('details.palette').first().locator('a', { hasText: '#FF0000' }).first();
  await cell.click();
  assert.equal(await digi.locator('input[name=BACKCOLOR]').inputValue(), 'FF0000');
  await digi.locator('input[name=DATESIZE]').fill('20');
  await screenshot('digi-picked');
  await submit(digi);
  assert.equal(await errors(), '');
  assert.equal(iniValue(settings(), 'Clock', 'BackColor'), '255');
  assert.equal(iniValue(settings(), 'Clock', 'DateSize'), '20');
  assert.equal(await page.locator('input[name=BACKCOLOR]').inputValue(), 'FF0000');
  // A bad colour and a negative position: nothing saved, both problems shown.
  await openSection('digi');
  await page.locator('input[name=SECCOLOR]').evaluate((e) => { e.value = 'XYZ'; });
  await page.locator('input[name=SECX]').evaluate((e) => { e.value = '-1'; });
  await page.locator('input[name=DATESIZE]').evaluate((e) => { e.value = '30'; });
  await submit(page.locator('form[name=DIGIFORM]'));
  assert.match(await errors(), /秒位置指定がマイナスです[\s\S]*色指定に問題があります/);
  assert.equal(iniValue(settings(), 'Clock', 'DateSize'), '20');
  await screenshot('digi-refused');

  // ---- test commands: each heard or refused ----
  await openSection('test');
  const heardFrom = fs.existsSync(capture) ? fs.statSync(capture).size : 0;
  const msg = page.locator('form:has(input[name=MSGTEST])');
  await msg.locator('input[name=MSGSTR]').fill('テストです');
  await submit(msg);
  assert.equal(await errors(), '');
  assert.equal(await page.locator('input[name=MSGSTR]').inputValue(), 'テストです');
  await waitFor('the message in the capture', () => loudestSample(capture, heardFrom) > 1000, 60000);
  await screenshot('msgtest');

  const beforeJiho = fs.statSync(capture).size;
  const jt = page.locator('form:has(input[name=JIHOTEST])');
  await jt.locator('input[name=DATE]').fill('2004/01/05');
  await jt.locator('input[name=TIME]').fill('7:05.00');
  await submit(jt);
  assert.equal(await errors(), '');
  await waitFor('the time signal in the capture', () => loudestSample(capture, beforeJiho) > 1000, 60000);

  await jt.locator('input[name=DATE]').fill('2004/2/30');
  await submit(page.locator('form:has(input[name=JIHOTEST])'));
  assert.match(await errors(), /日付時刻指定に誤りがあります/);

  const wave = page.locator('form:has(input[name=WAVETEST])');
  await wave.locator('input[name=WAVEFILE]').fill(path.join(home, 'missing.wav'));
  await submit(wave);
  assert.match(await errors(), /指定のファイルがありません/);
  assert.match(await page.locator('form:has(input[name=WAVETEST]) .lastfile').innerText(), /missing\.wav/);
  const beforeWave = fs.statSync(capture).size;
  await page.locator('input[name=WAVEFILE]').fill(path.join(voices, fs.readdirSync(voices).find((f) => /\.wav$/i.test(f))));
  await submit(page.locator('form:has(input[name=WAVETEST])'));
  assert.equal(await errors(), '');
  await waitFor('the WAVE test in the capture', () => loudestSample(capture, beforeWave) > 500, 60000);
  const midi = page.locator('form:has(input[name=MIDITEST])');
  await midi.locator('input[name=MIDIFILE]').fill(path.join(home, 'missing.mid'));
  await submit(midi);
  assert.match(await errors(), /指定のファイルがありません/);
  await screenshot('tests');

  // ---- controls: pause, mute, count, skip ----
  const pauseLabel = await page.locator('.controls a').nth(0).innerText();
  await Promise.all([page.waitForNavigation(), page.locator('.controls a').nth(0).click()]);
  assert.notEqual(await page.locator('.controls a').nth(0).innerText(), pauseLabel);
  await Promise.all([page.waitForNavigation(), page.locator('.controls a').nth(0).click()]);
  assert.equal(await page.locator('.controls a').nth(0).innerText(), pauseLabel);
  const muteLabel = await page.locator('.controls a').nth(1).innerText();
  await Promise.all([page.waitForNavigation(), page.locator('.controls a').nth(1).click()]);
  assert.notEqual(await page.locator('.controls a').nth(1).innerText(), muteLabel);
  await Promise.all([page.waitForNavigation(), page.locator('.controls a').nth(1).click()]);
  const count = page.locator('form:has(input[name=COUNTSET])');
  await count.locator('input[name=COUNT][value="15"]').check();
  await submit(count);
  assert.ok(await page.locator('input[name=COUNT][value="15"]').isChecked());
  await page.locator('form:has(input[name=COUNTSET]) input[name=COUNT][value="0"]').check();
  await submit(page.locator('form:has(input[name=COUNTSET])'));
  await Promise.all([page.waitForNavigation(), page.locator('.controls a').nth(2).click()]);
  assert.equal(await errors(), '');
  await screenshot('controls');
  assert.ok(!programExited, 'the program is still running');
  console.log(`browser test passed; screenshots in ${shotsDir}`);
} finally {
  await context.close();
  program.kill('SIGTERM');
  await waitFor('the program to end', () => programExited, 10000).catch(() => program.kill('SIGKILL'));
  fs.rmSync(profile, { recursive: true, force: true });
  if (!process.env.CHIMEWELL_KEEP_HOME) fs.rmSync(home, { recursive: true, force: true });
}
