CREATE TABLE Empty_Table
(    A TEXT(5),
    B Integer 
);
GO


INSERT INTO Empty_Table (A,B)
  VALUES( NULL,NULL);
GO
