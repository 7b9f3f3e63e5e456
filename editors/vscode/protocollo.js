// The protocol layer of the extension: how `percorso lsp` is started and which texts
// it serves. It needs no editor, so Node tests it against the program itself.
'use strict';

const { spawn } = require('child_process');
const rpc = require('vscode-jsonrpc/node');

// The texts the server checks: line texts and train texts, by file name.
const selettore = [
  { scheme: 'file', language: 'percorso' },
  { scheme: 'file', pattern: '**/*_linea.txt' },
  { scheme: 'file', pattern: '**/*-.txt' },
];

// The command that starts the server, from the setting percorso.programma.
function comandoServer(programma) {
  return { command: programma || 'percorso', args: ['lsp'] };
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

module.exports = { selettore, comandoServer, avvia };
