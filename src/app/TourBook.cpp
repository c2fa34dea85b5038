#include "TourBook.h"

#include "AssetCsvImport.h"
#include "Book.h"

namespace fiscora {

namespace {

// A register as a small contractor might keep it: office and shop equipment every year, vehicles
// now and then, a warehouse and a rented house; bonus on some of the 2026 assets.
const char *const kTourAssets =
    "asset_number,description,type,method,convention,life,placed,cost,bonus\n"
    "1001,Office furniture,0,MACRS,Half-Year,7-Years,02/06/2017,8450.00,no\n"
    "1002,Warehouse,5,,,,03/01/2017,412000.00,no\n"
    "1003,Forklift,0,MACRS,Half-Year,7-Years,05/18/2017,27900.00,no\n"
    "1004,Delivery van,2,MACRS,Half-Year,,09/12/2017,36250.00,no\n"
    "1005,Laptops (6),0,MACRS,Half-Year,5-Years,01/22/2018,7740.00,no\n"
    "1006,Shelving system,0,MACRS,Half-Year,7-Years,04/03/2018,12600.00,no\n"
    "1007,Company car,1,MACRS,Half-Year,,06/29/2018,31800.00,no\n"
    "1008,Parking lot paving,0,Staright-Line,Half-Year,15-Years,10/15/2018,54300.00,no\n"
    "1009,Rental house,4,,,,02/01/2019,238500.00,no\n"
    "1010,Phone system,0,MACRS,Half-Year,5-Years,03/11/2019,4980.00,no\n"
    "1011,Box truck,3,,,,07/08/2019,68400.00,no\n"
    "1012,Conference table,0,MACRS,Half-Year,7-Years,11/20/2019,3275.00,no\n"
    "1013,Server rack,0,MACRS,Half-Year,5-Years,01/14/2020,15890.00,no\n"
    "1014,Pickup truck,2,MACRS,Half-Year,,05/05/2020,44100.00,no\n"
    "1015,Air compressor,0,MACRS,Mid-Quarter,7-Years,08/24/2020,6320.00,no\n"
    "1016,Security cameras,0,MACRS,Half-Year,5-Years,12/01/2020,5410.00,no\n"
    "1017,Office remodel,5,,,,02/15/2021,96700.00,no\n"
    "1018,Laser cutter,0,MACRS,Half-Year,7-Years,04/19/2021,48250.00,no\n"
    "1019,Printers (3),0,MACRS,Half-Year,5-Years,06/07/2021,2985.00,no\n"
    "1020,Sales car,1,MACRS,Half-Year,,09/30/2021,38900.00,no\n"
    "1021,Loading dock,0,Staright-Line,Half-Year,15-Years,01/10/2022,72600.00,no\n"
    "1022,Desks and chairs,0,MACRS,Half-Year,7-Years,03/28/2022,9870.00,no\n"
    "1023,Tractor unit,3,,,,06/13/2022,142000.00,no\n"
    "1024,Network switches,0,MACRS,Mid-Quarter,5-Years,11/02/2022,6150.00,no\n"
    "1025,Welding station,0,MACRS,Half-Year,7-Years,02/20/2023,18430.00,no\n"
    "1026,Cargo van,2,MACRS,Half-Year,,04/11/2023,41750.00,no\n"
    "1027,Workstations (8),0,MACRS,Half-Year,5-Years,07/17/2023,21600.00,no\n"
    "1028,Fence and gates,0,Staright-Line,Half-Year,15-Years,10/09/2023,16800.00,no\n"
    "1029,Paint booth,0,MACRS,Half-Year,7-Years,01/29/2024,33500.00,no\n"
    "1030,Service SUV,2,MACRS,Half-Year,,03/18/2024,52300.00,no\n"
    "1031,Storage building,5,,,,06/03/2024,184000.00,no\n"
    "1032,Tablets (10),0,MACRS,Half-Year,5-Years,09/23/2024,6490.00,no\n"
    "1033,CNC router,0,MACRS,Half-Year,7-Years,02/10/2025,61200.00,no\n"
    "1034,Executive car,1,MACRS,Half-Year,,05/27/2025,47500.00,no\n"
    "1035,Solar array,0,MACRS,Half-Year,5-Years,08/14/2025,88900.00,no\n"
    "1036,Break room fit-out,0,MACRS,Half-Year,7-Years,11/03/2025,7150.00,no\n"
    "1037,Dump truck,3,,,,01/20/2026,118600.00,yes\n"
    "1038,Laptops (12),0,MACRS,Half-Year,5-Years,03/09/2026,16080.00,yes\n"
    "1039,Company car,1,MACRS,Half-Year,,03/15/2026,48500.00,yes\n"
    "1040,Packaging line,0,MACRS,Half-Year,7-Years,06/22/2026,74300.00,no\n";

} // namespace

void MakeTourBook(const QString &path) {
    ImportAssetCsv(*Book::Create(path.toStdString(), "Northwind Builders", 12), kTourAssets);
}

} // namespace fiscora
