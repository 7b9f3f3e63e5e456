// The files of the run without arguments, made once for a whole suite in a folder
// of their own.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/esecuzione.h"
#include "platform/file_system.h"
#include "support/cartella_temporanea.h"

namespace percorso {

class corsa_normale : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    cartella_ = std::make_unique<cartella_temporanea>();
    const auto fs = file_system_reale();
    ASSERT_EQ(esegui_percorso(*fs, cartella_->percorso().string()).stato_uscita(), 0);
  }
  static void TearDownTestSuite() { cartella_.reset(); }

  static std::string file(const std::string& nome) { return cartella_->file(nome); }
  static const cartella_temporanea& cartella() { return *cartella_; }

 private:
  static inline std::unique_ptr<cartella_temporanea> cartella_;
};

}  // namespace percorso
