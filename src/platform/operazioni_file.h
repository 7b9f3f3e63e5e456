// The file operations the output set and its journal need beside the seam's calls:
// one file per system implements them, so the commit logic is the same everywhere.
// Each gives -1 (or the errno value) and sets errno when it fails.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/chiamate_sistema.h"

namespace percorso {

// A new file of the name given, never over anything already there (a link of that
// name is not followed); readable by all, open for writing.
int crea_esclusivo(const std::string& nome);
// What blocca takes a directory's turn on: the directory itself, or its lock file
// (opened in the mode of the turn, and waited for unless the mode says not to).
int apri_turno(const std::string& cartella, modo_turno modo);
// The regular file identified, opened to be read without following a link, only while
// the name still leads to it and it belongs to this user; motivo says why not.
int apri_proprio(const std::string& nome, const identita_file& atteso, std::string& motivo);
// A device or a FIFO, or a file reached through the system's process links, opened
// to be written directly; motivo says why it cannot be.
int apri_diretto(const std::string& percorso, identita_file::tipo genere, std::string& motivo);
int chiudi(int fd);
void rimuovi(const std::string& nome);
// Starts the write-back of a finished file, so the later flush finds little to do.
void avvia_scrittura(int fd);
// Waits briefly while another program holds the target so that it cannot be
// replaced; the errno value when it stays held.
std::optional<int> bersaglio_libero(const std::string& percorso);
// Runs a write to a device or FIFO so that a reader gone makes it fail instead of
// ending the process.
std::optional<int> senza_sigpipe(const std::function<std::optional<int>()>& scrittura);

// Links an output may be written through (destinazione.h).
// Whether a link was made by this user or by the system, not by another user.
bool collegamento_fidato(const std::string& collegamento);
// Whether a link lies among the system's links to open files (/proc), which name
// what a process holds open rather than a path.
bool nel_sistema_dei_processi(const std::string& collegamento);
// Where a link leads: the next name, or the final one where the system resolves the
// whole chain at once.
std::optional<std::string> segui_collegamento(const std::string& collegamento);

// A UTF-8 name as the standard library's paths take it on every system.
inline std::filesystem::path percorso_fs(const std::string& nome) {
  return std::filesystem::path(std::u8string(nome.begin(), nome.end()));
}

}  // namespace percorso
