-- Attaches `zunopad --lsp` to the current buffer, waits (with deadlines) for
-- its diagnostics, asks for the document's symbols and a hover, writes them
-- to $RESULT as JSON and quits.
local function finish(result)
  local file = io.open(os.getenv('RESULT'), 'w')
  file:write(vim.fn.json_encode(result))
  file:close()
  vim.cmd('qa!')
end

local id = vim.lsp.start_client({
  name = 'zunopad',
  cmd = { os.getenv('ZUNOPAD'), '--lsp' },
  root_dir = vim.fn.getcwd(),
})
if not id then
  vim.cmd('cquit 3')
end
vim.lsp.buf_attach_client(0, id)

if not vim.wait(15000, function() return #vim.diagnostic.get(0) > 0 end, 50) then
  vim.cmd('cquit 4')
end
local diagnostics = {}
for _, d in ipairs(vim.diagnostic.get(0)) do
  table.insert(diagnostics, { lnum = d.lnum, col = d.col, severity = d.severity, message = d.message })
end

local params = { textDocument = vim.lsp.util.make_text_document_params() }
local answers = vim.lsp.buf_request_sync(0, 'textDocument/documentSymbol', params, 10000)
if not answers or not answers[id] then
  vim.cmd('cquit 5')
end
local hover_params = { textDocument = params.textDocument, position = { line = 3, character = 1 } }
local hovers = vim.lsp.buf_request_sync(0, 'textDocument/hover', hover_params, 10000)
local hover = hovers and hovers[id] and hovers[id].result and hovers[id].result.contents.value or vim.NIL

finish({ diagnostics = diagnostics, symbols = answers[id].result, hover = hover })
