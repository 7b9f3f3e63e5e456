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

// A new temporary of the name given, whose last six characters (XXXXXX) are replaced
// to make it unique; readable by all, open for writing.
int crea_temporaneo(std::string& nome);
// A file created or emptied, open for writing.
int crea_file(const std::string& nome);
// What blocca takes a directory's turn on: the directory itself, or its lock file.
int apri_turno(const std::string& cartella);
// A device or a FIFO opened to be written directly; motivo says why it cannot be.
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

// A UTF-8 name as the standard library's paths take it on every system.
inline std::filesystem::path percorso_fs(const std::string& nome) {
  return std::filesystem::path(std::u8string(nome.begin(), nome.end()));
}

}  // namespace percorso
