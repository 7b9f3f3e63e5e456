// Starts `percorso lsp` for line and train texts, opened as Windows-1252.
'use strict';

const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');
const { selettore, programmaIncluso, comandoServer, messaggioAvvio } = require('./protocollo');

let cliente;

function activate(contesto) {
  const programma = vscode.workspace.getConfiguration('percorso').get('programma');
  const comando = comandoServer(programma, programmaIncluso(contesto.extensionPath, process.platform));
  cliente = new LanguageClient('percorso', 'percorso', comando, {
    documentSelector: selettore,
  });
  contesto.subscriptions.push(cliente);
  return cliente.start().catch(async (errore) => {
    const apri = "Apri l'impostazione";
    const scelta = await vscode.window.showErrorMessage(messaggioAvvio(comando.command, errore), apri);
    if (scelta === apri)
      vscode.commands.executeCommand('workbench.action.openSettings', 'percorso.programma');
  });
}

function deactivate() {
  return cliente ? cliente.stop() : undefined;
}

module.exports = { activate, deactivate };
