// The extension's protocol layer against the program, through vscode-jsonrpc: a train
// text broken after an "à" gets its diagnostic at the UTF-16 character of the field,
// the fix clears it, and the server ends cleanly. PERCORSO names the program.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const { avvia, comandoServer, programmaIncluso, messaggioAvvio } = require('../protocollo');

const programma = process.env.PERCORSO || 'percorso';

function diagnosticheDi(connessione, uri) {
  const attese = [];
  connessione.onNotification('textDocument/publishDiagnostics', (p) => {
    if (p.uri !== uri) return;
    const a = attese.shift();
    if (a) a(p.diagnostics);
  });
  return () => new Promise((risolvi) => attese.push(risolvi));
}

test("il comando del server: l'impostazione, se no il programma incluso, se no il PATH", () => {
  const casi = [
    ['', null, 'percorso'],
    ['', '/ext/bin/percorso', '/ext/bin/percorso'],
    ['/opt/p', '/ext/bin/percorso', '/opt/p'],
    [undefined, '/ext/bin/percorso', '/ext/bin/percorso'],
  ];
  for (const [impostazione, incluso, atteso] of casi)
    assert.deepStrictEqual(comandoServer(impostazione, incluso), { command: atteso, args: ['lsp'] });
});

test("il programma incluso: quello della piattaforma, eseguibile; nessuno se il pacchetto non l'ha", () => {
  const cartella = fs.mkdtempSync(path.join(os.tmpdir(), 'percorso-vscode-'));
  try {
    assert.strictEqual(programmaIncluso(cartella, 'linux'), null);
    fs.mkdirSync(path.join(cartella, 'bin'));
    fs.writeFileSync(path.join(cartella, 'bin', 'percorso'), '', { mode: 0o644 });
    fs.writeFileSync(path.join(cartella, 'bin', 'percorso.exe'), '');
    const linux = programmaIncluso(cartella, 'linux');
    assert.strictEqual(linux, path.join(cartella, 'bin', 'percorso'));
    assert.strictEqual(fs.statSync(linux).mode & 0o111, 0o111);
    assert.strictEqual(programmaIncluso(cartella, 'win32'), path.join(cartella, 'bin', 'percorso.exe'));
  } finally {
    fs.rmSync(cartella, { recursive: true, force: true });
  }
});

test("un programma che non parte: il messaggio nomina l'impostazione da correggere", async () => {
  const mancante = path.join(os.tmpdir(), 'percorso-che-non-esiste');
  const { processo } = avvia(mancante);
  const errore = await new Promise((risolvi) => processo.on('error', risolvi));
  const messaggio = messaggioAvvio(mancante, errore);
  assert.match(messaggio, /impossibile avviare .*percorso-che-non-esiste \(.*ENOENT/);
  assert.match(messaggio, /impostazione percorso\.programma/);
});

test('diagnostica, correzione e fine attraverso vscode-jsonrpc', async () => {
  const cartella = fs.mkdtempSync(path.join(os.tmpdir(), 'percorso-vscode-'));
  try {
    execFileSync(programma, ['new', 'Valle', '2211', cartella]);
    const file = path.join(cartella, 'Valle_2211-.txt');
    const buono = fs.readFileSync(file, 'latin1');
    const rotto = buono.replace('velocita,    4500,    80', 'velocità,    4500,    8O');
    const uri = 'file://' + file;
    const { processo, connessione } = avvia(programma);
    const fine = new Promise((risolvi) => processo.on('exit', risolvi));
    const prossime = diagnosticheDi(connessione, uri);

    const inizio = await connessione.sendRequest('initialize', { processId: process.pid, rootUri: null, capabilities: {} });
    assert.strictEqual(inizio.capabilities.positionEncoding, 'utf-16');
    connessione.sendNotification('initialized', {});
    connessione.sendNotification('textDocument/didOpen', {
      textDocument: { uri, languageId: 'percorso', version: 1, text: rotto },
    });
    const [d] = await prossime();
    assert.strictEqual(d.code, 'non-numero');
    assert.deepStrictEqual(d.range, { start: { line: 10, character: 22 }, end: { line: 10, character: 24 } });

    connessione.sendNotification('textDocument/didChange', {
      textDocument: { uri, version: 2 }, contentChanges: [{ text: buono }],
    });
    assert.deepStrictEqual(await prossime(), []);

    await connessione.sendRequest('shutdown');
    connessione.sendNotification('exit');
    assert.strictEqual(await fine, 0);
    connessione.dispose();
  } finally {
    fs.rmSync(cartella, { recursive: true, force: true });
  }
});
