// The protocol layer of the extension: which program `percorso lsp` is, how it is
// started and which texts it serves. It needs no editor, so Node tests it against the
// program itself.
'use strict';

const fs = require('fs');
const path = require('path');
const { spawn } = require('child_process');
const rpc = require('vscode-jsonrpc/node');

// The texts the server checks: line texts and train texts, by file name.
const selettore = [
  { scheme: 'file', language: 'percorso' },
  { scheme: 'file', pattern: '**/*_linea.txt' },
  { scheme: 'file', pattern: '**/*-.txt' },
];

// The program the package for this platform carries in bin/, or null when it carries
// none. A program unpacked without its execute bit gets it back.
function programmaIncluso(cartellaEstensione, piattaforma) {
  const nome = piattaforma === 'win32' ? 'percorso.exe' : 'percorso';
  const programma = path.join(cartellaEstensione, 'bin', nome);
  if (!fs.existsSync(programma)) return null;
  if (piattaforma !== 'win32') {
    try {
      fs.accessSync(programma, fs.constants.X_OK);
    } catch {
      fs.chmodSync(programma, 0o755);
    }
  }
  return programma;
}

// The command that starts the server: the setting percorso.programma when it is set,
// else the program the extension carries, else percorso from PATH.
function comandoServer(programma, incluso) {
  return { command: programma || incluso || 'percorso', args: ['lsp'] };
}

// What the editor says when the program cannot start: what failed, and the setting
// that names the program.
function messaggioAvvio(comando, errore) {
  const perche = errore && errore.message ? errore.message : String(errore);
  return `percorso: impossibile avviare ${comando} (${perche}). ` +
    "Indica il programma nell'impostazione percorso.programma.";
}

// Starts the server and returns a JSON-RPC connection over its standard streams,
// the same library and framing VS Code's own client uses.
function avvia(programma) {
  const { command, args } = comandoServer(programma);
  const processo = spawn(command, args, { stdio: ['pipe', 'pipe', 'inherit'] });
  const connessione = rpc.createMessageConnection(
    new rpc.StreamMessageReader(processo.stdout),
    new rpc.StreamMessageWriter(processo.stdin));
  connessione.listen();
  return { processo, connessione };
}

module.exports = { selettore, programmaIncluso, comandoServer, messaggioAvvio, avvia };
