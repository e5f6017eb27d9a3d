#pragma once

#include <QString>

// Captions and value texts of the property rows, by their string resource number.
namespace PropertyCaptions {

enum Id : int {
    kMain = 1000,
    kName = 1001,
    kTitle = 1002,
    kDescription = 1003,
    kCreationDate = 1004,
    kUpdateDate = 1005,
    kAuthor = 1006,
    kWordTemplate = 1007,
    kCss = 1008,
    kLinks = 2000,
    kConfigurations = 2001,
    kTestPlans = 2002,
    kSubtests = 2003,
    kSubtestsChildren = 2004,
    kSubtestsParents = 2005,
    kProcedures = 2006,
    kResult = 3000,
    kExpectedResult = 3001,
    kStatus = 3002,
    kComment = 3003,
    kIteration = 3004,
    kFirstPlayedDate = 3005,
    kLastPlayedDate = 3006,
    kTester = 3007,
    kAdvancement = 4000,
    kWorkload = 4001,
    kEquipments = 5000,
    kFirst = 5001,
    kSecond = 5002,
    kThird = 5003,
    kDocument = 6000,
    kList = 6001,
    kNone = 6002,
    // The one group caption that has no resource: its text is written as it stands.
    kPublication = -1,
};

// The text of a caption; the empty text for a number without one.
QString Text(int id);

}  // namespace PropertyCaptions
