-- Neovim's own LSP client against `percorso lsp`, run headless by neovim_test.cc.
-- PERCORSO is the program, CARTELLA holds Valle_linea.txt and Valle_2211-.txt, whose
-- line 11 is broken after an accented letter. Every failure ends Neovim with status 1.
local programma, cartella = os.getenv('PERCORSO'), os.getenv('CARTELLA')
local grezze = {}  -- the diagnostics as the server sent them, by URI

local function verifica(condizione, messaggio)
  if not condizione then error(messaggio, 2) end
end

local function aspetta(cosa, condizione)
  verifica(vim.wait(10000, condizione, 20), 'tempo scaduto: ' .. cosa)
end

local function richiesta(metodo, parametri)
  local risposte = vim.lsp.buf_request_sync(0, metodo, parametri, 10000)
  verifica(risposte, 'nessuna risposta a ' .. metodo)
  for _, r in pairs(risposte) do
    verifica(not r.err, metodo .. ': ' .. vim.inspect(r.err))
    return r.result
  end
end

local function alla(riga, carattere)
  return { textDocument = vim.lsp.util.make_text_document_params(),
           position = { line = riga, character = carattere } }
end

local function prova()
  local originale = vim.lsp.handlers['textDocument/publishDiagnostics']
  vim.lsp.handlers['textDocument/publishDiagnostics'] = function(err, risultato, ctx, config)
    grezze[risultato.uri] = risultato.diagnostics
    return originale(err, risultato, ctx, config)
  end
  vim.cmd('edit ++enc=cp1252 ' .. vim.fn.fnameescape(cartella .. '/Valle_2211-.txt'))
  verifica(vim.bo.fileencoding == 'cp1252', 'il testo non e\' aperto come cp1252')
  local uri = vim.uri_from_bufnr(0)
  local uscita
  local id = vim.lsp.start_client({
    name = 'percorso', cmd = { programma, 'lsp' }, root_dir = cartella,
    flags = { debounce_text_changes = 0 },
    on_exit = function(codice) uscita = codice end,
  })
  verifica(id, 'il server non parte')
  vim.lsp.buf_attach_client(0, id)

  -- The mistake: '8O' after "velocità", UTF-16 character 22 on line 10, byte 23 in the buffer.
  aspetta('la diagnostica', function() return grezze[uri] and #grezze[uri] > 0 end)
  local d = grezze[uri][1]
  verifica(d.code == 'non-numero', 'codice ' .. vim.inspect(d.code))
  verifica(d.range.start.line == 10 and d.range.start.character == 22,
           'posizione ' .. vim.inspect(d.range))
  local mostrata = vim.diagnostic.get(0)[1]
  verifica(mostrata and mostrata.lnum == 10, 'la diagnostica non e\' sulla riga')
  local riga = vim.api.nvim_buf_get_lines(0, 10, 11, false)[1]
  verifica(riga:sub(mostrata.col + 1, mostrata.end_col) == '8O',
           'la diagnostica segna ' .. riga:sub(mostrata.col + 1, mostrata.end_col))

  -- The quick fix writes the digits.
  local azioni = richiesta('textDocument/codeAction', {
    textDocument = vim.lsp.util.make_text_document_params(),
    range = d.range, context = { diagnostics = { d } } })
  verifica(azioni and #azioni > 0, 'nessuna correzione rapida')
  vim.lsp.util.apply_workspace_edit(azioni[1].edit, 'utf-16')
  riga = vim.api.nvim_buf_get_lines(0, 10, 11, false)[1]
  verifica(riga == 'velocità,    4500,    80', 'dopo la correzione: ' .. riga)
  aspetta('la lista vuota', function() return #grezze[uri] == 0 and #vim.diagnostic.get(0) == 0 end)

  local descrizione = richiesta('textDocument/hover', alla(10, 23))
  verifica(descrizione and descrizione.contents.value:find('velocita %(km/h'),
           'descrizione ' .. vim.inspect(descrizione))
  local proposte = richiesta('textDocument/completion', alla(11, 0))
  local etichette = {}
  for _, p in ipairs(proposte.items or proposte) do etichette[p.label] = true end
  verifica(etichette['stazione'] and etichette['[stazioni]'], 'completamento ' .. vim.inspect(etichette))
  local schema = richiesta('textDocument/documentSymbol',
                           { textDocument = vim.lsp.util.make_text_document_params() })
  local nomi = {}
  for _, sezione in ipairs(schema) do
    for _, s in ipairs(sezione.children or {}) do table.insert(nomi, s.name) end
  end
  verifica(vim.tbl_contains(nomi, 'MEZZAVIA'), 'schema ' .. vim.inspect(nomi))

  vim.lsp.stop_client(id)
  aspetta('la fine del server', function() return uscita ~= nil end)
  verifica(uscita == 0, 'il server esce con ' .. tostring(uscita))
end

local ok, errore = pcall(prova)
if ok then
  vim.cmd('qall!')
else
  io.stderr:write('neovim: ' .. tostring(errore) .. '\n')
  vim.cmd('cquit 1')
end
