#pragma once

namespace picbasket::iptc {

// Dataset numbers of the IPTC application record (record 2) that the image box
// reads and writes. The standard fields use their standard numbers.
enum Dataset : int {
    RecordVersion = 0,
    ObjectName = 5,
    EditStatus = 7,
    Urgency = 10,
    Category = 15,
    SupplementalCategory = 20,
    FixtureIdentifier = 22,
    Keywords = 25,
    DateReleased = 30,
    TimeReleased = 35,
    SpecialInstructions = 40,
    ReferenceService = 45,
    ReferenceDate = 47,
    ReferenceNumber = 50,
    DateCreated = 55,
    TimeCreated = 60,
    OriginatingProgram = 65,
    ProgramVersion = 70,
    ObjectCycle = 75,
    Byline = 80,
    BylineTitle = 85,
    City = 90,
    Sublocation = 92,
    ProvinceState = 95,
    CountryCode = 100,
    CountryName = 101,
    TransmissionReference = 103,
    Headline = 105,
    Credit = 110,
    Source = 115,
    CopyrightNotice = 116,
    Caption = 120,
    LocalCaption = 121,
    CaptionWriter = 122,

    // Fields without a standard dataset live in 2:160 to 2:181, a range the IIM
    // leaves unassigned: custom fields 1 to 20 are 2:160 to 2:179, then the image
    // URL (2:180) and the image notes (2:181). Files written by this program keep
    // these numbers for good.
    CustomField1 = 160,
    CustomField20 = 179,
    ImageUrl = 180,
    ImageNotes = 181,
};

inline constexpr int CustomFieldCount = 20;

// The dataset of custom field n (1 to 20); 0 for any other n.
constexpr int customFieldDataset(int n) {
    return n >= 1 && n <= CustomFieldCount ? CustomField1 + n - 1 : 0;
}

} // namespace picbasket::iptc
