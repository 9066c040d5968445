// edbgen: writes Exchange store databases for tests and benchmarks.
//
//   edbgen sample OUT.edb                    the bundled sample store
//   edbgen synthetic N [--seed S] OUT.edb    N items, deterministic from S
//   edbgen json DESC.json OUT.edb            a store from a JSON description
//   --page-size 4096|8192 (default 8192) for each of them
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "storegen/json_description.h"
#include "storegen/sample_store.h"
#include "storegen/store_builder.h"
#include "storegen/synthetic_store.h"

namespace {

void AddPageSizeOption(CLI::App* command, uint32_t* page_size) {
  command->add_option("--page-size", *page_size, "Database page size")
      ->check(CLI::IsMember({4096u, 8192u}))
      ->capture_default_str();
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Writes Exchange store databases (.edb) for tests and benchmarks."};
  app.require_subcommand(1);
  uint32_t page_size = 8192;
  std::string output;

  CLI::App* sample = app.add_subcommand("sample", "Write the bundled sample store");
  sample->add_option("output", output, "Database file to write")->required();
  AddPageSizeOption(sample, &page_size);

  storegen::SyntheticOptions synthetic_options;
  CLI::App* synthetic = app.add_subcommand("synthetic", "Write a synthetic store of N items");
  synthetic->add_option("count", synthetic_options.items, "Number of items")->required()->check(CLI::Range(1, 1000000));
  synthetic->add_option("output", output, "Database file to write")->required();
  synthetic->add_option("--seed", synthetic_options.seed, "Seed of the pseudo-random choices")->capture_default_str();
  AddPageSizeOption(synthetic, &page_size);

  std::string description_path;
  CLI::App* from_json = app.add_subcommand("json", "Write a store from a JSON description");
  from_json->add_option("description", description_path, "JSON description")->required()->check(CLI::ExistingFile);
  from_json->add_option("output", output, "Database file to write")->required();
  AddPageSizeOption(from_json, &page_size);

  CLI11_PARSE(app, argc, argv);

  const auto start = std::chrono::steady_clock::now();
  try {
    if (sample->parsed()) {
      storegen::WriteSampleStore(output, page_size);
    } else if (synthetic->parsed()) {
      storegen::WriteSyntheticStore(synthetic_options, page_size, output);
    } else {
      storegen::BuildStore(storegen::LoadStoreDescription(description_path), page_size, output);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "edbgen: %s\n", e.what());
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(stderr, "edbgen: wrote %s in %.2f s\n", output.c_str(), seconds);
  return 0;
}
