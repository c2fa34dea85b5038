#pragma once

// The assets of the benchmarks' books, as CSV for import.
#include <string>

// Every property type, dates from 2017 to 2026, bonus on a part of the 2026 assets.
inline std::string BenchAssetsCsv(int count) {
    static const char *kinds[] = {"0,MACRS,Half-Year,5-Years",
                                  "0,MACRS,Mid-Quarter,7-Years",
                                  "0,Staright-Line,Half-Year,15-Years",
                                  "1,MACRS,Half-Year,",
                                  "2,Staright-Line,Mid-Quarter,",
                                  "3,MACRS,Half-Year,",
                                  "4,,,",
                                  "5,,,"};
    std::string csv = "asset_number,description,type,method,convention,life,placed,cost,bonus,note\n";
    for (int i = 0; i < count; ++i) {
        const int year = 2017 + i % 10;
        const char *kind = kinds[i % 8];
        const bool bonus = year == 2026 && i % 8 < 6 && i % 3 == 0;
        csv += "N-" + std::to_string(i) + ",\"Asset " + std::to_string(i) + ", bench\"," + kind + "," +
               std::to_string(1 + i % 12) + "/" + std::to_string(1 + i % 28) + "/" + std::to_string(year) +
               "," + std::to_string(5000 + (i * 37) % 90000) + ".25," + (bonus ? "yes" : "no") + ",\n";
    }
    return csv;
}
