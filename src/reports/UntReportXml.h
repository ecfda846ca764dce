#pragma once

#include "model/UntClassProject.h"

#include <pugixml.hpp>
#include <string>
#include <unordered_map>
#include <vector>

// Namespaces of the OpenOffice.org 1.0 formats.
inline constexpr const char* OfficeNamespace = "http://openoffice.org/2000/office";
inline constexpr const char* StyleNamespace = "http://openoffice.org/2000/style";
inline constexpr const char* TextNamespace = "http://openoffice.org/2000/text";
inline constexpr const char* TableNamespace = "http://openoffice.org/2000/table";
inline constexpr const char* FoNamespace = "http://www.w3.org/1999/XSL/Format";

// Qualified names with the prefixes that a template's root element declares
// for the namespaces; a namespace it does not declare fails the report.
class TXmlNames {
public:
    explicit TXmlNames(pugi::xml_node root);
    std::string operator()(const char* uri, const char* local) const;

private:
    std::unordered_map<std::string, std::string> FPrefixes;
};

// The conclusions that hold each coupling, built once per report: for each
// coupling, the positions in Guidelines of the conclusions that hold it, in
// order, once per record.
class TCoupleIndex {
public:
    explicit TCoupleIndex(const TProject& project);
    const std::vector<int>& Holders(std::int32_t index1, std::int32_t index2) const;
    // The positions coupled with index1 by some conclusion, each once, in no
    // particular order.
    const std::vector<std::int32_t>& Partners(std::int32_t index1) const;

    // The couplings that some conclusion holds, in report order.
    std::vector<TCoupling> HeldInReportOrder(const TProject& project) const;

private:
    std::unordered_map<std::uint64_t, std::vector<int>> FHolders;
    std::unordered_map<std::int32_t, std::vector<std::int32_t>> FPartners;
};

// The child of the root element of that qualified name; fails the report
// when the template lacks it.
pugi::xml_node RequiredChild(pugi::xml_node root, const std::string& name);
