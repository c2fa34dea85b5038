#pragma once

// The sub-commands of `fiscora-cli book`, one file each (CliBook<Name>.cpp).

#include <string>
#include <vector>

namespace fiscora::cli {

std::string BookCreateUsage();
int RunBookCreate(const std::vector<std::string> &args);
std::string BookAddUsage();
int RunBookAdd(const std::vector<std::string> &args);
std::string BookImportUsage();
int RunBookImport(const std::vector<std::string> &args);
std::string BookListUsage();
int RunBookList(const std::vector<std::string> &args);
std::string BookRemoveUsage();
int RunBookRemove(const std::vector<std::string> &args);
std::string BookTotalsUsage();
int RunBookTotals(const std::vector<std::string> &args);
std::string BookForm4562Usage();
int RunBookForm4562(const std::vector<std::string> &args);
std::string BookReportUsage();
int RunBookReport(const std::vector<std::string> &args);

} // namespace fiscora::cli
