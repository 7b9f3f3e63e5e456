// Starts `percorso lsp` for line and train texts, opened as Windows-1252.
'use strict';

const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');
const { selettore, comandoServer } = require('./protocollo');

let cliente;

function activate(contesto) {
  const programma = vscode.workspace.getConfiguration('percorso').get('programma');
  cliente = new LanguageClient('percorso', 'percorso', comandoServer(programma), {
    documentSelector: selettore,
  });
  contesto.subscriptions.push(cliente);
  return cliente.start();
}

function deactivate() {
  return cliente ? cliente.stop() : undefined;
}

module.exports = { activate, deactivate };
