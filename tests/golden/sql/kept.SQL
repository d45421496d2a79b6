CREATE TABLE Kept
(    Code TEXT(2),
    Label TEXT(20),
    [When] Time    
);
GO


INSERT INTO Kept (Code,Label,[When])
  VALUES( 'A1', 'semi;colon', #12/30/1899 10:30:00#);
GO
INSERT INTO Kept (Code,Label,[When])
  VALUES( 'B2', '''lead''', NULL);
GO
