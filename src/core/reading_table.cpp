#include "reading.h"

namespace quendril::core {

void FillReadingTable(ReadingTexts &table)
{
    static const char16_t *const kTexts[kLargestReadingNumber] = {
        u"Look in a room where there is a white bed sheet.", // 1
        u"It will be found close to a vase or bowl.", // 2
        u"It will be found between papers.", // 3
        u"It is somewhere close to you.", // 4
        u"Look under a cap or a hat.", // 5
        u"Look in a shoe rack.", // 6
        u"Ask a maid who takes care of your clothes.", // 7
        u"You will find it on a shelf or a ledge.", // 8
        u"A child has it among some clothing.", // 9
        u"It will be in your main room.", // 10
        u"You will find it in some place where there is water.", // 11
        u"You will find it in your place of work on your table or near your books and papers.", // 12
        u"It will be found where you keep your coats or shawls.", // 13
        u"The object may not be found.It may be under some cap or hat.", // 14
        u"Ask your spouse about it.", // 15
        u"Ask your cook about the lost object.", // 16
        u"It will be found on a shelf where some valuable piece of art is placed.", // 17
        u"It will be recovered among some clothes.", // 18
        u"At a short distance away in some side lane.", // 19
        u"It will be found in some place where there is water or linen.", // 20
        u"It is in a box or case that folds in two parts.", // 21
        u"It will be found on some shelf.", // 22
        u"Try a room where clothes are kept.", // 23
        u"It is somewhere very close to you.", // 24
        u"It is among your personal items near something white and round.", // 25
        u"Ask the eldest person in you family.", // 26
        u"It may be outside the house.", // 27
        u"You will most probably not find it.", // 28
        u"An old servant will help you find it.", // 29
        u"Ask the children and you will get it back.", // 30
        u"It is in a closet or a drain.", // 31
        u"It will be found on something that is oblong in shape.", // 32
        u"You will find it among your clothes.", // 33
        u"It will be found near the fireplace.", // 34
        u"Near the wash-stand.", // 35
        u"Your child's nanny will find it.", // 36
        u"It will be found in your prayer room.", // 37
        u"You may have to travel some distance to find it.", // 38
        u"It will be found upon some shelf.", // 39
        u"You will find it among your clothes or your hats.", // 40
        u"You will find it where the shoes are kept.", // 41
        u"You will find it in the kitchen near some source of water.", // 42
        u"You will find it at some distance from the house.", // 43
        u"You will find it where the oil pots are kept.", // 44
        u"You will find it on a shelf.", // 45
        u"Your partner has it.", // 46
        u"Ask your servant about it.", // 47
        u"You will find it near the place where you keep your drinking water.", // 48
        u"It may not be found and even if it is found it will be badly damaged.", // 49
        u"It will be found in a box.", // 50
        u"You will recover it immediately.", // 51
        u"Ask the ladies in your house.", // 52
        u"Ask the person who comes to clean.", // 53
        u"It will be found in the children's room.", // 54
        u"It will be found near some water pipe or source of water.", // 55
        u"You will find it at the place you stopped last.", // 56
        u"You will find it in your bag.", // 57
        u"It may not be found that easily as two people have it.", // 58
        u"It will be found amongst bread, flour or cake.", // 59
        u"It will not be found at all.", // 60
        u"It will be found where you keep your shoes or garden pipes.", // 61
        u"It is a waste to search for it.", // 62
        u"It will be found among old personal effects.", // 63
        u"Look in dark corners of the house.", // 64
        u"You will find it only if you employ someone to look for it.", // 65
        u"It will not be found.", // 66
        u"You will find it with the aid of a small child.", // 67
        u"It will be found at the top of the house.", // 68
        u"It will be found some distance away near some relative's place.", // 69
        u"It will be found near a place where water is kept.", // 70
        u"It is somewhere close to you.", // 71
        u"It is near a water source.", // 72
        u"You will recover it by official enquiry.", // 73
        u"A faithful servant will find it for you.", // 74
        u"You will find it in damaged shape so better don't look for it.", // 75
        u"It is in the room where bread and cereals are kept.", // 76
        u"It will be found some distance from the house.", // 77
        u"It will not be recovered.", // 78
        u"It will be found close to steel or iron.", // 79
        u"It will be found in some box or close to the place you keep your hats.", // 80
        u"Look among your clothes.", // 81
        u"You will find it in the kitchen.", // 82
        u"A young girl will recover it for you.", // 83
        u"It will be found in some box or case.", // 84
    };
    for (int slot = 1; slot <= kLargestReadingNumber; ++slot)
        table[static_cast<std::size_t>(slot)] = QString::fromUtf16(kTexts[slot - 1]);
}

} // namespace quendril::core
