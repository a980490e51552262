#include "tools/mzn-books/DemoCompany.h"

#include <algorithm>
#include <cstdio>

#include "tools/mzn-books/CalendarDate.h"
#include "tools/mzn-books/Utf8Text.h"

namespace {

constexpr std::int64_t A(int code, int sub = 0) {
    return static_cast<std::int64_t>(code) * 10000 + sub;
}

// Accounts of the standard chart the demo books use.
constexpr std::int64_t kCash = A(1110);
constexpr std::int64_t kCurrentAccount = A(1130);
constexpr std::int64_t kBank = A(1140, 1);
constexpr std::int64_t kCreditUnionBank = A(1140, 2);
constexpr std::int64_t kTimeDeposit = A(1150);
constexpr std::int64_t kReceivable = A(1220);
constexpr std::int64_t kCareReceivable = A(1230);
constexpr std::int64_t kUserReceivable = A(1240);
constexpr std::int64_t kGoods = A(1310);
constexpr std::int64_t kStores = A(1320);
constexpr std::int64_t kPrepaid = A(1420);
constexpr std::int64_t kInputTax = A(1470);
constexpr std::int64_t kPrepaidCorporateTax = A(1480);
constexpr std::int64_t kDoubtfulAllowance = A(1490);
constexpr std::int64_t kBuilding = A(1510);
constexpr std::int64_t kBuildingFixtures = A(1520);
constexpr std::int64_t kVehicles = A(1550);
constexpr std::int64_t kEquipment = A(1560);
constexpr std::int64_t kLand = A(1570);
constexpr std::int64_t kAccumulatedDepreciation = A(1590);
constexpr std::int64_t kSoftware = A(1610);
constexpr std::int64_t kTelephoneRights = A(1620);
constexpr std::int64_t kGuaranteeDeposit = A(1740);
constexpr std::int64_t kInsuranceFund = A(1760);
constexpr std::int64_t kPayableCareSupplies = A(2120, 1);
constexpr std::int64_t kPayableFood = A(2120, 2);
constexpr std::int64_t kAccrued = A(2310);
constexpr std::int64_t kAccruedExpenses = A(2320);
constexpr std::int64_t kWithholding = A(2340, 1);
constexpr std::int64_t kResidentTax = A(2340, 2);
constexpr std::int64_t kSocialInsurance = A(2340, 3);
constexpr std::int64_t kCorporateTaxPayable = A(2350);
constexpr std::int64_t kConsumptionTaxPayable = A(2360);
constexpr std::int64_t kOutputTax = A(2380);
constexpr std::int64_t kBonusProvision = A(2410);
constexpr std::int64_t kBankLoan = A(2510, 1);
constexpr std::int64_t kPublicLoan = A(2510, 2);
constexpr std::int64_t kOfficerLoan = A(2520);
constexpr std::int64_t kRetirementProvision = A(2610);
constexpr std::int64_t kCapital = A(3110);
constexpr std::int64_t kLegalReserve = A(3310);
constexpr std::int64_t kRetainedEarnings = A(3330);
constexpr std::int64_t kGoodsSales = A(4110);
constexpr std::int64_t kCarePrevention = A(4230);
constexpr std::int64_t kCarePlanning = A(4240);
constexpr std::int64_t kMealsAndLodging = A(4250);
constexpr std::int64_t kOtherCharges = A(4260);
constexpr std::int64_t kCommunityServices = A(4270);
constexpr std::int64_t kSalesReturns = A(4420);
constexpr std::int64_t kOpeningStock = A(5110);
constexpr std::int64_t kPurchases = A(5210);
constexpr std::int64_t kCareSupplies = A(5310);
constexpr std::int64_t kFood = A(5320);
constexpr std::int64_t kOutsourcing = A(5330);
constexpr std::int64_t kCareWagesFullTime = A(5350, 1);
constexpr std::int64_t kCareWagesPartTime = A(5350, 2);
constexpr std::int64_t kClosingStock = A(5410);
constexpr std::int64_t kOfficersPay = A(6110);
constexpr std::int64_t kSalaries = A(6120);
constexpr std::int64_t kBonuses = A(6130);
constexpr std::int64_t kBonusProvisionExpense = A(6140);
constexpr std::int64_t kEmployerInsurance = A(6160);
constexpr std::int64_t kWelfare = A(6170);
constexpr std::int64_t kAdvertising = A(6210);
constexpr std::int64_t kShipping = A(6220);
constexpr std::int64_t kCardFees = A(6230);
constexpr std::int64_t kTravel = A(6310);
constexpr std::int64_t kCommunication = A(6320);
constexpr std::int64_t kEntertainment = A(6330);
constexpr std::int64_t kMeetings = A(6340);
constexpr std::int64_t kConsumables = A(6350);
constexpr std::int64_t kStationery = A(6360);
constexpr std::int64_t kRepairs = A(6370);
constexpr std::int64_t kUtilities = A(6380);
constexpr std::int64_t kElectricity = A(6381);
constexpr std::int64_t kWater = A(6382);
constexpr std::int64_t kRent = A(6390);
constexpr std::int64_t kInsurance = A(6410);
constexpr std::int64_t kTaxesAndDues = A(6420);
constexpr std::int64_t kBankCharges = A(6430);
constexpr std::int64_t kVehicleCosts = A(6440);
constexpr std::int64_t kTraining = A(6450);
constexpr std::int64_t kMemberships = A(6460);
constexpr std::int64_t kNewspapers = A(6470);
constexpr std::int64_t kBadDebtExpense = A(6480);
constexpr std::int64_t kSundries = A(6500);
constexpr std::int64_t kDepreciation = A(6510);
constexpr std::int64_t kInterestIncome = A(7110);
constexpr std::int64_t kSubsidies = A(7130);
constexpr std::int64_t kMiscIncome = A(7140);
constexpr std::int64_t kInterestExpense = A(7210);
constexpr std::int64_t kGainOnSale = A(7310);
constexpr std::int64_t kLossOnDisposal = A(7420);
constexpr std::int64_t kCorporateTax = A(8110);

// Share of goods sold on credit, in percent; the rest is cash.
constexpr int kCreditSalesPercent = 85;
// Withheld from wages, in tenths of a percent: income tax, resident tax and
// the employee's half of social insurance (the employer pays the same again).
constexpr int kIncomeTaxPermille = 40;
constexpr int kResidentTaxPermille = 35;
constexpr int kSocialInsurancePermille = 150;
// Per calendar month, in percent of an average month.
constexpr int kGoodsSeason[12] = {85, 80, 115, 100, 95, 90, 110, 85, 95, 100, 105, 140};
constexpr int kUtilitySeason[12] = {130, 135, 115, 95, 85, 90, 115, 125, 105, 90, 100, 120};

std::int64_t RoundTo(std::int64_t yen, std::int64_t unit) {
    return (yen + unit / 2) / unit * unit;
}

std::int64_t Permille(std::int64_t yen, int permille) {
    return yen * permille / 1000;
}

constexpr int kMaxSub = 9999;

}  // namespace

DemoCompany::DemoCompany(const Profile& profile, const std::vector<AccountsFile::Row>& chart, int extraAccounts)
    : profile_(profile), accounts_(chart), random_(profile.seed) {
    AddPartners(extraAccounts);
}

namespace {

// The pairs of main accounts whose sub-accounts large books add: customers
// (receivable, sales), then suppliers (payable, purchases).
struct PartnerKind {
    int ledger;
    int business;
    std::u8string_view prefix;
};
constexpr PartnerKind kPartnerKinds[] = {{1220, 4110, u8"得意先"}, {2120, 5210, u8"仕入先"}};

bool SubInUse(const std::vector<AccountsFile::Row>& chart, const PartnerKind& kind, int sub) {
    for (const AccountsFile::Row& row : chart)
        if (row.sub == sub && (row.code == kind.ledger || row.code == kind.business)) return true;
    return false;
}

}  // namespace

int DemoCompany::MaxExtraAccounts(const std::vector<AccountsFile::Row>& chart) {
    int accounts = 0;
    for (const PartnerKind& kind : kPartnerKinds)
        for (int sub = 1; sub <= kMaxSub; ++sub)
            if (!SubInUse(chart, kind, sub)) accounts += 2;
    return accounts;
}

void DemoCompany::AddPartners(int extraAccounts) {
    const std::vector<AccountsFile::Row> chart = accounts_;
    int added = 0;
    for (const PartnerKind& kind : kPartnerKinds) {
        for (int sub = 1; sub <= kMaxSub && added < extraAccounts; ++sub) {
            if (SubInUse(chart, kind, sub) || !AddPartner(chart, kind.ledger, kind.business, sub, kind.prefix))
                continue;
            added += 2;
        }
    }
    // An odd count leaves the last partner without its own sales or
    // purchases account; its business goes to the main account.
    if (added > extraAccounts) {
        accounts_.pop_back();
        partners_.back().businessAccount = partners_.back().businessAccount / 10000 * 10000;
    }
}

bool DemoCompany::AddPartner(const std::vector<AccountsFile::Row>& chart, int mainLedger, int mainBusiness, int sub,
                             std::u8string_view prefix) {
    const AccountsFile::Row* ledgerMain = nullptr;
    const AccountsFile::Row* businessMain = nullptr;
    for (const AccountsFile::Row& row : chart) {
        if (row.code == mainLedger && row.sub == 0) ledgerMain = &row;
        if (row.code == mainBusiness && row.sub == 0) businessMain = &row;
    }
    if (ledgerMain == nullptr || businessMain == nullptr) return false;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04d", sub);
    const std::string name = Utf8Text::From(prefix) + digits;

    AccountsFile::Row ledger = *ledgerMain;
    ledger.sub = sub;
    ledger.name = name;
    AccountsFile::Row business = *businessMain;
    business.sub = sub;
    business.name = name;
    accounts_.push_back(ledger);
    accounts_.push_back(business);
    partners_.push_back({A(mainLedger, sub), A(mainBusiness, sub)});
    return true;
}

DataSetDefinition DemoCompany::Definition() const {
    DataSetDefinition definition;
    definition.name = Utf8Text::From(profile_.name);
    definition.start = profile_.start;
    definition.end = profile_.end;
    definition.interim = profile_.interim;
    definition.introMonth = profile_.introMonth;
    definition.netAssets = profile_.netAssets;
    definition.taxIncluded = profile_.taxIncluded;
    return definition;
}

bool DemoCompany::Build() {
    Opening();
    for (int period = FirstMonth(); period <= 12; ++period) Month(period);
    if (profile_.interim) Interim();
    Closing();
    return !ledger_.Faulty();
}

// ---------------------------------------------------------------------------
// Opening balances: the balance sheet at the start of the year, the
// retained earnings taking what the other lines leave.

void DemoCompany::Opening() {
    const bool shop = profile_.shop;
    const bool care = profile_.care;
    const int rate = TaxRate(1, false);
    const std::int64_t creditSales = Permille(ShopNet(), kCreditSalesPercent * 10);
    const std::int64_t careClaim = CareFeesPerDay() * 30 + Scaled(700000 + 450000 + 250000);

    dueCreditSales_ = shop ? creditSales + creditSales * rate / 100 : 0;
    dueUserCharges_ = care ? CareFeesPerDay() * 30 / 9 + Scaled(28000) * 30 : 0;
    careClaims_[FirstMonth() - 2] = care ? careClaim : 0;
    careClaims_[FirstMonth() - 1] = care ? careClaim : 0;
    const std::int64_t shopPurchases = shop ? Permille(ShopNet(), care ? 600 : 470) : 0;
    const std::int64_t careSupplies = care ? CareFeesPerDay() * 30 / 50 : 0;
    duePayables_[kPayableCareSupplies] = (shopPurchases + careSupplies) * (100 + rate) / 100;
    duePayables_[kPayableFood] = care ? Scaled(9000) * 30 * 108 / 100 : 0;
    dueWithholding_ = Permille(MonthlyWages(), kIncomeTaxPermille);
    dueResidentTax_ = Permille(MonthlyWages(), kResidentTaxPermille);
    dueSocialInsurance_ = Permille(MonthlyWages(), kSocialInsurancePermille);
    dueAccrued_ = Scaled(600000);
    openingCash_ = Scaled(500000);

    const std::vector<std::pair<std::int64_t, std::int64_t>> balances = {
        {kCash, openingCash_},
        {kCurrentAccount, Scaled(2000000)},
        {kBank, Scaled(12000000)},
        {kCreditUnionBank, Scaled(4500000)},
        {kTimeDeposit, Scaled(5000000)},
        {kReceivable, dueCreditSales_},
        {kCareReceivable, careClaims_[FirstMonth() - 2] + careClaims_[FirstMonth() - 1]},
        {kUserReceivable, dueUserCharges_},
        {kGoods, shop ? Scaled(care ? 2400000 : 9000000) : 0},
        {kStores, Scaled(150000)},
        {kPrepaid, Scaled(300000)},
        {kDoubtfulAllowance, -Scaled(care ? 150000 : 60000)},
        {kBuilding, Scaled(care ? 48000000 : 12000000)},
        {kBuildingFixtures, Scaled(6000000)},
        {kVehicles, Scaled(4800000)},
        {kEquipment, Scaled(3600000)},
        {kLand, Scaled(20000000)},
        {kAccumulatedDepreciation, -Scaled(care ? 18500000 : 9800000)},
        {kSoftware, Scaled(800000)},
        {kTelephoneRights, Scaled(150000)},
        {kGuaranteeDeposit, Scaled(1000000)},
        {kInsuranceFund, Scaled(2400000)},
        {kPayableCareSupplies, -duePayables_[kPayableCareSupplies]},
        {kPayableFood, -duePayables_[kPayableFood]},
        {kAccrued, -dueAccrued_},
        {kAccruedExpenses, -Scaled(400000)},
        {kWithholding, -dueWithholding_},
        {kResidentTax, -dueResidentTax_},
        {kSocialInsurance, -dueSocialInsurance_},
        {kCorporateTaxPayable, -LastYearsCorporateTax()},
        {kConsumptionTaxPayable, -Scaled(800000)},
        {kBonusProvision, -Scaled(care ? 2000000 : 600000)},
        {kBankLoan, -Scaled(24000000)},
        {kPublicLoan, -Scaled(8000000)},
        {kOfficerLoan, -Scaled(3000000)},
        {kRetirementProvision, -Scaled(1500000)},
        {kCapital, -Scaled(10000000)},
        {kLegalReserve, -Scaled(1000000)},
    };
    std::vector<DemoLedger::Line> lines;
    std::int64_t rest = 0;
    for (const auto& [account, yen] : balances) {
        if (yen == 0) continue;
        lines.push_back({account, yen, yen});
        rest += yen;
    }
    lines.push_back({kRetainedEarnings, -rest, -rest});
    ledger_.Post(0, lines);
}

// ---------------------------------------------------------------------------
// The months

void DemoCompany::Month(int period) {
    PaySuppliers(period);
    if (profile_.shop) ShopMonth(period);
    if (profile_.care) CareMonth(period);
    Payroll(period);
    Overheads(period);
    Financing(period);
    OneOffs(period);
    PartnersMonth(period);
    TopUpCash(period);
}

void DemoCompany::ShopMonth(int period) {
    const int month = CalendarMonth(period);
    const int rate = TaxRate(period, false);
    const std::int64_t net = RoundTo(Vary(ShopNet() * kGoodsSeason[month - 1] / 100, 5), 100);
    const std::int64_t onCredit = RoundTo(Permille(net, kCreditSalesPercent * 10), 100);

    Transfer(period, kBank, kReceivable, dueCreditSales_);
    dueCreditSales_ = TaxedSale(period, kReceivable, kGoodsSales, onCredit, rate);
    const std::int64_t cash = TaxedSale(period, kCash, kGoodsSales, net - onCredit, rate);
    Transfer(period, kBank, kCash, cash);
    if (month == 1) {
        // Goods returned after the year-end sales.
        const std::int64_t returned = RoundTo(net / 50, 100);
        const std::int64_t tax = returned * rate / 100;
        ledger_.Post(period, {{kSalesReturns, returned, returned + tax},
                              {kOutputTax, tax, 0},
                              {kReceivable, -(returned + tax), -(returned + tax)}});
        dueCreditSales_ -= returned + tax;
    }
    const int costPermille = profile_.care ? 600 : 470;
    duePayables_[kPayableCareSupplies] +=
        TaxedCost(period, kPurchases, kPayableCareSupplies, RoundTo(Vary(Permille(net, costPermille), 3), 100), rate);
    TaxedCost(period, kShipping, kBank, RoundTo(net * 15 / 1000, 10), rate);
    Transfer(period, kCardFees, kBank, RoundTo(onCredit * 3 / 100, 1));
    if (month == 3 || month == 7 || month == 11 || month == 12)
        TaxedCost(period, kAdvertising, kBank, Scaled(120000), rate);
}

void DemoCompany::CareMonth(int period) {
    const int days = DaysIn(period);
    const int rate = TaxRate(period, false);
    const std::int64_t fees = RoundTo(Vary(CareFeesPerDay() * days, 2), 10);
    const std::int64_t homeCare = RoundTo(Permille(fees, 450), 10);
    const std::int64_t community = RoundTo(Permille(fees, 200), 10);
    const std::int64_t residential = fees - homeCare - community;
    const std::int64_t prevention = RoundTo(Vary(Scaled(700000), 4), 10);
    const std::int64_t planning = RoundTo(Vary(Scaled(450000), 3), 10);
    const std::int64_t communityServices = RoundTo(Vary(Scaled(250000), 5), 10);

    // Care insurance pays nine tenths through the federation two months
    // later; the users pay their tenth, meals and lodging the next month.
    Transfer(period, kBank, kCareReceivable, careClaims_[period - 2]);
    Transfer(period, kCreditUnionBank, kUserReceivable, dueUserCharges_);
    Transfer(period, kCareReceivable, A(4210, 1), homeCare);
    Transfer(period, kCareReceivable, A(4210, 2), community);
    Transfer(period, kCareReceivable, A(4210, 3), residential);
    Transfer(period, kCareReceivable, kCarePrevention, prevention);
    Transfer(period, kCareReceivable, kCarePlanning, planning);
    Transfer(period, kCareReceivable, kCommunityServices, communityServices);
    careClaims_[period] = fees + prevention + planning + communityServices;
    exemptSales_ += careClaims_[period];

    const std::int64_t homeShare = homeCare / 9;
    const std::int64_t residentialShare = (community + residential) / 9;
    const std::int64_t meals = RoundTo(Vary(Scaled(28000) * days, 3), 10);
    Transfer(period, kUserReceivable, A(4220, 1), homeShare);
    Transfer(period, kUserReceivable, A(4220, 2), residentialShare);
    Transfer(period, kUserReceivable, kMealsAndLodging, meals);
    dueUserCharges_ = homeShare + residentialShare + meals;
    exemptSales_ += dueUserCharges_;
    Transfer(period, kCash, kOtherCharges, RoundTo(Vary(Scaled(60000), 10), 10));

    duePayables_[kPayableCareSupplies] +=
        TaxedCost(period, kCareSupplies, kPayableCareSupplies, RoundTo(Vary(fees / 50, 8), 10), rate);
    duePayables_[kPayableFood] +=
        TaxedCost(period, kFood, kPayableFood, RoundTo(Vary(Scaled(9000) * days, 4), 10), TaxRate(period, true));
    TaxedCost(period, kOutsourcing, kBank, RoundTo(Vary(Scaled(280000), 5), 100), rate);
}

void DemoCompany::Payroll(int period) {
    const int month = CalendarMonth(period);
    // Last month's deductions go to the tax office, the municipality and
    // the pension office, the latter with the employer's equal share.
    Transfer(period, kWithholding, kBank, dueWithholding_);
    Transfer(period, kResidentTax, kBank, dueResidentTax_);
    ledger_.Post(period, {{kSocialInsurance, dueSocialInsurance_, dueSocialInsurance_},
                          {kEmployerInsurance, dueSocialInsurance_, dueSocialInsurance_},
                          {kBank, -2 * dueSocialInsurance_, -2 * dueSocialInsurance_}});

    std::vector<std::pair<std::int64_t, std::int64_t>> wages = {
        {kOfficersPay, Scaled(profile_.care ? 800000 : 600000)},
        {kSalaries, RoundTo(Vary(Scaled(profile_.care ? 1300000 : 900000), 1), 10)},
    };
    if (profile_.care) {
        wages.push_back({kCareWagesFullTime, RoundTo(Vary(Scaled(3600000), 1), 10)});
        wages.push_back({kCareWagesPartTime, RoundTo(Vary(Scaled(60000) * DaysIn(period), 4), 10)});
    }
    if (month == 7 || month == 12) wages.push_back({kBonuses, Scaled(profile_.care ? 4500000 : 1200000)});

    std::int64_t gross = 0;
    std::vector<DemoLedger::Line> lines;
    for (const auto& [account, yen] : wages) {
        lines.push_back({account, yen, yen});
        gross += yen;
    }
    dueWithholding_ = Permille(gross, kIncomeTaxPermille);
    dueResidentTax_ = Permille(gross, kResidentTaxPermille);
    dueSocialInsurance_ = Permille(gross, kSocialInsurancePermille);
    const std::int64_t net = gross - dueWithholding_ - dueResidentTax_ - dueSocialInsurance_;
    lines.push_back({kWithholding, -dueWithholding_, -dueWithholding_});
    lines.push_back({kResidentTax, -dueResidentTax_, -dueResidentTax_});
    lines.push_back({kSocialInsurance, -dueSocialInsurance_, -dueSocialInsurance_});
    lines.push_back({kBank, -net, -net});
    ledger_.Post(period, lines);
    TaxedCost(period, kWelfare, kCash, RoundTo(Vary(Scaled(40000), 20), 10), TaxRate(period, false));
}

void DemoCompany::Overheads(int period) {
    const int month = CalendarMonth(period);
    const int rate = TaxRate(period, false);
    const bool care = profile_.care;
    TaxedCost(period, kRent, kBank, Scaled(care ? 450000 : 300000), rate);
    Utilities(period, RoundTo(Scaled(care ? 380000 : 120000) * kUtilitySeason[month - 1] / 100, 10), rate);
    TaxedCost(period, kCommunication, kBank, RoundTo(Vary(Scaled(45000), 5), 10), rate);
    TaxedCost(period, kConsumables, kCash, RoundTo(Vary(Scaled(35000), 30), 10), rate);
    TaxedCost(period, kStationery, kCash, RoundTo(Vary(Scaled(12000), 30), 10), rate);
    TaxedCost(period, kTravel, kCash, RoundTo(Vary(Scaled(28000), 25), 10), rate);
    TaxedCost(period, kVehicleCosts, kCash, RoundTo(Vary(Scaled(40000), 15), 10), rate);
    TaxedCost(period, kBankCharges, kBank, RoundTo(Vary(Scaled(22000), 10), 10), rate);
    TaxedCost(period, kNewspapers, kCash, Scaled(6000), TaxRate(period, true));
    TaxedCost(period, kSundries, kCash, RoundTo(Vary(Scaled(8000), 40), 10), rate);
    Transfer(period, kInsurance, kBank, Scaled(65000));
    Transfer(period, kTaxesAndDues, kCash, Scaled(2000));  // revenue stamps
    if (month % 3 == 0) TaxedCost(period, kMeetings, kCash, Scaled(15000), rate);
    if (month == 7 || month == 12) TaxedCost(period, kEntertainment, kBank, Scaled(80000), rate);
    if (month == 6 || month == 10) TaxedCost(period, kTraining, kBank, Scaled(60000), rate);
    if (month == 4) Transfer(period, kMemberships, kBank, Scaled(36000));
    if (month == 5) Transfer(period, kTaxesAndDues, kBank, Scaled(45000));       // vehicle tax
    if (month % 3 == 0) Transfer(period, kTaxesAndDues, kBank, Scaled(180000));  // property tax
}

void DemoCompany::Financing(int period) {
    const int month = CalendarMonth(period);
    const std::int64_t bankRepayment = Scaled(200000);
    const std::int64_t publicRepayment = Scaled(80000);
    const std::int64_t interest =
        RoundTo((-ledger_.Balance(kBankLoan) * 12 / 1000 + -ledger_.Balance(kPublicLoan) * 15 / 1000) / 12, 1);
    ledger_.Post(period, {{kBankLoan, bankRepayment, bankRepayment},
                          {kPublicLoan, publicRepayment, publicRepayment},
                          {kInterestExpense, interest, interest},
                          {kBank, -(bankRepayment + publicRepayment + interest),
                           -(bankRepayment + publicRepayment + interest)}});
    if (month == 3 || month == 9) Transfer(period, kBank, kInterestIncome, Scaled(1200));
    if (month == 8) Transfer(period, kCash, kMiscIncome, Scaled(15000));  // vending machine commission
}

void DemoCompany::OneOffs(int period) {
    const int month = CalendarMonth(period);
    const int rate = TaxRate(period, false);
    Transfer(period, kAccrued, kBank, dueAccrued_);
    dueAccrued_ = 0;
    if (period == At(2)) {
        // Last year's corporate tax and consumption tax.
        Transfer(period, kCorporateTaxPayable, kBank, -ledger_.Balance(kCorporateTaxPayable));
        Transfer(period, kConsumptionTaxPayable, kBank, -ledger_.Balance(kConsumptionTaxPayable));
    }
    // The interim payment is half of last year's tax.
    if (period == At(8)) Transfer(period, kPrepaidCorporateTax, kBank, RoundTo(LastYearsCorporateTax() / 2, 100));
    if (month == 6) dueAccrued_ += TaxedCost(period, kEquipment, kAccrued, Scaled(480000), rate);
    if (month == 10) dueAccrued_ += TaxedCost(period, kRepairs, kAccrued, Scaled(350000), rate);
    if (month == 10 && profile_.care) Transfer(period, kBank, kSubsidies, Scaled(1500000));
    if (month == 9) {
        // The old van is sold above its book value.
        const std::int64_t cost = Scaled(1200000);
        const std::int64_t depreciated = Scaled(900000);
        const std::int64_t price = cost - depreciated + Scaled(100000);
        const std::int64_t tax = price * rate / 100;
        ledger_.Post(period, {{kBank, price + tax, price + tax},
                              {kAccumulatedDepreciation, depreciated, depreciated},
                              {kVehicles, -cost, -cost},
                              {kGainOnSale, -(price - cost + depreciated), -(price + tax - cost + depreciated)},
                              {kOutputTax, -tax, 0}});
    }
    if (month == 2) {
        // A broken appliance is written off.
        const std::int64_t cost = Scaled(300000);
        const std::int64_t depreciated = Scaled(250000);
        ledger_.Post(period, {{kLossOnDisposal, cost - depreciated, cost - depreciated},
                              {kAccumulatedDepreciation, depreciated, depreciated},
                              {kEquipment, -cost, -cost}});
    }
}

// The customers and suppliers of large books: each buys or sells a little
// every month and pays or is paid the month after.
void DemoCompany::PartnersMonth(int period) {
    const int rate = TaxRate(period, false);
    for (std::size_t i = 0; i < partners_.size(); ++i) {
        Partner& partner = partners_[i];
        const bool customer = partner.ledgerAccount / 10000 == 1220;
        const std::int64_t net = (customer ? 2000 : 1000) + static_cast<std::int64_t>(NextRandom() % 50) * 1000;
        if (customer) {
            Transfer(period, kBank, partner.ledgerAccount, partner.due);
            partner.due = TaxedSale(period, partner.ledgerAccount, partner.businessAccount, net, rate);
        } else {
            Transfer(period, partner.ledgerAccount, kBank, partner.due);
            partner.due = TaxedCost(period, partner.businessAccount, partner.ledgerAccount, net, rate);
        }
    }
}

void DemoCompany::PaySuppliers(int period) {
    for (auto& [account, due] : duePayables_) {
        Transfer(period, account, kBank, due);
        due = 0;
    }
}

// Petty cash is brought back to its opening amount from the bank, and the
// main bank account from the credit union, where the users' payments come in.
void DemoCompany::TopUpCash(int period) {
    const std::int64_t shortfall = openingCash_ - ledger_.Balance(kCash);
    if (shortfall > 0) Transfer(period, kCash, kBank, (shortfall + 9999) / 10000 * 10000);
    const std::int64_t bankShortfall = Scaled(3000000) - ledger_.Balance(kBank);
    if (bankShortfall > 0)
        Transfer(period, kBank, kCreditUnionBank,
                 std::min((bankShortfall + 99999) / 100000 * 100000,
                          std::max<std::int64_t>(0, ledger_.Balance(kCreditUnionBank))));
}

// ---------------------------------------------------------------------------
// Adjustments

void DemoCompany::Interim() {
    const std::int64_t halfYearDepreciation =
        RoundTo((ledger_.Balance(kBuilding) * 3 + ledger_.Balance(kBuildingFixtures) * 8 +
                 ledger_.Balance(kVehicles) * 20 + ledger_.Balance(kEquipment) * 25) /
                    200,
                1);
    Transfer(15, kDepreciation, kAccumulatedDepreciation, halfYearDepreciation);
    Transfer(15, kBonusProvisionExpense, kBonusProvision, Scaled(profile_.care ? 1800000 : 500000));
}

void DemoCompany::Closing() {
    const std::int64_t tangible = RoundTo((ledger_.Balance(kBuilding) * 3 + ledger_.Balance(kBuildingFixtures) * 8 +
                                           ledger_.Balance(kVehicles) * 20 + ledger_.Balance(kEquipment) * 25) /
                                              100,
                                          1);
    Transfer(18, kDepreciation, kAccumulatedDepreciation, tangible);
    Transfer(18, kDepreciation, kSoftware, RoundTo(ledger_.Balance(kSoftware) / 5, 1));
    if (profile_.shop) CloseStock();
    CloseProvisions();
    CloseConsumptionTax();
    CloseCorporateTax();
}

void DemoCompany::CloseStock() {
    const std::int64_t opening = ledger_.Balance(kGoods);
    const std::int64_t closing = RoundTo(Vary(opening, 8), 100);
    Transfer(18, kOpeningStock, kGoods, opening);
    Transfer(18, kGoods, kClosingStock, closing);
}

void DemoCompany::CloseProvisions() {
    // Each provision is set to its new amount; the difference goes to its
    // expense (a reversal shows as a credit there).
    const std::int64_t bonus = RoundTo(Vary(Scaled(profile_.care ? 2000000 : 600000), 5), 1000);
    const std::int64_t bonusChange = bonus + ledger_.Balance(kBonusProvision);
    ledger_.Post(18,
                 {{kBonusProvisionExpense, bonusChange, bonusChange}, {kBonusProvision, -bonusChange, -bonusChange}});

    const std::int64_t receivables =
        ledger_.Balance(kReceivable) + ledger_.Balance(kCareReceivable) + ledger_.Balance(kUserReceivable);
    const std::int64_t allowanceChange = RoundTo(receivables / 200, 1) + ledger_.Balance(kDoubtfulAllowance);
    ledger_.Post(18, {{kBadDebtExpense, allowanceChange, allowanceChange},
                      {kDoubtfulAllowance, -allowanceChange, -allowanceChange}});

    const std::int64_t accruedChange = RoundTo(Vary(Scaled(420000), 5), 1) + ledger_.Balance(kAccruedExpenses);
    ledger_.Post(
        18, {{kEmployerInsurance, accruedChange, accruedChange}, {kAccruedExpenses, -accruedChange, -accruedChange}});

    const std::int64_t prepaidChange = RoundTo(Vary(Scaled(300000), 5), 1) - ledger_.Balance(kPrepaid);
    ledger_.Post(18, {{kPrepaid, prepaidChange, prepaidChange}, {kRent, -prepaidChange, -prepaidChange}});
}

// The tax collected less the deductible part of the tax paid is owed. Only
// the share of the tax paid that matches the share of taxable sales is
// deductible; care-insurance revenue is exempt, so a care business bears
// most of its tax paid as an expense. With tax-included amounts the debt
// itself is the year's expense, as books kept with tax included show it.
void DemoCompany::CloseConsumptionTax() {
    const std::int64_t collected = -ledger_.Balance(kOutputTax);
    const std::int64_t paid = ledger_.Balance(kInputTax);
    const std::int64_t sales = taxableSales_ + exemptSales_;
    const std::int64_t deductible = sales > 0 ? paid * taxableSales_ / sales : paid;
    const std::int64_t owed = collected - deductible;
    ledger_.Post(18, {{kOutputTax, collected, 0},
                      {kInputTax, -paid, 0},
                      {kConsumptionTaxPayable, -owed, -owed},
                      {kTaxesAndDues, paid - deductible, owed}});
}

void DemoCompany::CloseCorporateTax() {
    // Corporate, resident and enterprise taxes: about 30 % of the profit,
    // at least the per-capita levy of 70,000 yen.
    const std::int64_t tax = std::max<std::int64_t>(70000, RoundTo(ledger_.ProfitBeforeTax() * 3 / 10, 100));
    const std::int64_t prepaid = ledger_.Balance(kPrepaidCorporateTax);
    ledger_.Post(18, {{kCorporateTax, tax, tax},
                      {kPrepaidCorporateTax, -prepaid, -prepaid},
                      {kCorporateTaxPayable, -(tax - prepaid), -(tax - prepaid)}});
}

// ---------------------------------------------------------------------------
// Entries

void DemoCompany::Transfer(int period, std::int64_t debit, std::int64_t credit, std::int64_t yen) {
    if (yen == 0) return;
    ledger_.Post(period, {{debit, yen, yen}, {credit, -yen, -yen}});
}

std::int64_t DemoCompany::TaxedSale(int period, std::int64_t receivable, std::int64_t revenue, std::int64_t net,
                                    int rate) {
    const std::int64_t tax = net * rate / 100;
    ledger_.Post(period, {{receivable, net + tax, net + tax}, {revenue, -net, -(net + tax)}, {kOutputTax, -tax, 0}});
    taxableSales_ += net;
    return net + tax;
}

// The month's utilities: electricity and water (a care home's baths and
// laundry use more of it) on their own accounts, gas on 水道光熱費. The two
// are whole hundreds of yen, so their tax has no fraction and the month's
// tax is what it would be on the bill as one.
void DemoCompany::Utilities(int period, std::int64_t net, int rate) {
    const std::int64_t electricity = net * 55 / 100 / 100 * 100;
    const std::int64_t water = net * (profile_.care ? 30 : 20) / 100 / 100 * 100;
    TaxedCost(period, kElectricity, kBank, electricity, rate);
    TaxedCost(period, kWater, kBank, water, rate);
    TaxedCost(period, kUtilities, kBank, net - electricity - water, rate);
}

std::int64_t DemoCompany::TaxedCost(int period, std::int64_t cost, std::int64_t payable, std::int64_t net, int rate) {
    const std::int64_t tax = net * rate / 100;
    ledger_.Post(period, {{cost, net, net + tax}, {kInputTax, tax, 0}, {payable, -(net + tax), -(net + tax)}});
    return net + tax;
}

// ---------------------------------------------------------------------------
// Figures

int DemoCompany::CalendarMonth(int period) const {
    return CalendarDate::MonthAfter(profile_.start, period - 1);
}

int DemoCompany::DaysIn(int period) const {
    return CalendarDate::DaysInMonth(CalendarDate::YearOfMonthAfter(profile_.start, period - 1), CalendarMonth(period));
}

int DemoCompany::TaxRate(int period, bool reduced) const {
    const std::int32_t firstDay =
        CalendarDate::Make(CalendarDate::YearOfMonthAfter(profile_.start, period - 1), CalendarMonth(period), 1);
    if (firstDay < 20191001) return 8;
    return reduced ? 8 : 10;
}

int DemoCompany::FirstMonth() const {
    return profile_.introMonth >= 1 && profile_.introMonth <= 12 ? profile_.introMonth : 1;
}

// A payment due in a month before the first month of use falls into that
// first month.
int DemoCompany::At(int period) const {
    return std::max(period, FirstMonth());
}

std::int64_t DemoCompany::Scaled(std::int64_t yen) const {
    return yen * profile_.scale / 100;
}

std::int64_t DemoCompany::Vary(std::int64_t yen, int percent) {
    const std::int64_t spread = 2 * percent * 100 + 1;
    const std::int64_t basisPoints = 10000 - percent * 100 + static_cast<std::int64_t>(NextRandom() % spread);
    return yen * basisPoints / 10000;
}

// splitmix64: small, and the same numbers on every machine.
std::uint64_t DemoCompany::NextRandom() {
    std::uint64_t z = (random_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::int64_t DemoCompany::ShopNet() const {
    return Scaled(profile_.care ? 1500000 : 7000000);
}

std::int64_t DemoCompany::CareFeesPerDay() const {
    return profile_.care ? Scaled(300000) : 0;
}

std::int64_t DemoCompany::LastYearsCorporateTax() const {
    return Scaled(profile_.care ? 1200000 : 500000);
}

std::int64_t DemoCompany::MonthlyWages() const {
    std::int64_t wages = Scaled(profile_.care ? 800000 + 1300000 : 600000 + 900000);
    if (profile_.care) wages += Scaled(3600000) + Scaled(60000) * 30;
    return wages;
}
